#pragma once
#include <QAudioFormat>
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <string>

#include "monitor/Recording.h"

class QAudioSource;
class QIODevice;
typedef struct sf_private_tag SNDFILE;

namespace quorvane {

// Records the computer's default sound input into 16-bit PCM wave files at
// the input's preferred rate and channel count. The samples go to disk as
// they arrive (libsndfile); no recording is held in memory.
//
// Some inputs hand over audio ahead of time in large blocks (PulseAudio's sine
// test source gives two seconds at once); the file never holds more audio
// than the time the recording ran, so its length is the length of the hit.
class DefaultInputRecorder : public QObject, public AudioRecorder {
public:
    explicit DefaultInputRecorder(QObject* parent = nullptr);
    ~DefaultInputRecorder() override;

    bool TryInput() override;
    bool Start(const std::string& path) override;
    void Stop() override;
    SaveOutcome Save(const std::string& finalPath) override;
    void Discard() override;
    void Close() override;
    std::string ErrorText() const override { return error_; }

    // Sample frames in the file of the current or latest recording.
    qint64 FramesWritten() const { return framesWritten_; }
    const QAudioFormat& Format() const { return format_; }

private:
    // Moves what the input has captured into the file, up to the time run.
    void Drain();
    void CloseFile();
    bool Capturing() const { return file_ != nullptr; }

    std::unique_ptr<QAudioSource> source_;
    QPointer<QIODevice> input_;   // owned by source_, which may drop it on an error
    SNDFILE* file_ = nullptr;
    std::string path_;            // the file being written or last completed
    QAudioFormat format_;
    QElapsedTimer clock_;         // since the capture started
    QByteArray ahead_;            // captured audio not yet due
    qint64 framesWritten_ = 0;
    QTimer drainTimer_;
    std::string error_;
};

}  // namespace quorvane
