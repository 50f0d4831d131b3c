#pragma once
#include <QAudioFormat>
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <functional>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "monitor/PreRoll.h"
#include "monitor/Recording.h"

class QAudioSource;
class QIODevice;
typedef struct sf_private_tag SNDFILE;

namespace quorvane {

// Records the computer's default sound input into 16-bit PCM wave files at
// the input's preferred rate and channel count. While listening, the input
// stays open and its last two seconds are held in memory, so that a
// recording can begin before the moment it is started; the samples of a
// recording go to disk as they arrive (libsndfile).
//
// The input is asked for small blocks (tens of milliseconds) and every block
// is placed by the time it was captured (PreRollBuffer), so that an input
// that hands audio over late or in bursts still gives the right first sample.
class DefaultInputRecorder : public QObject, public AudioRecorder {
public:
    explicit DefaultInputRecorder(QObject* parent = nullptr);
    ~DefaultInputRecorder() override;

    bool TryInput() override;
    bool Listen(bool on) override;
    bool Start(const std::string& path, int preRollMs) override;
    void Stop() override;
    SaveOutcome Save(const std::string& finalPath) override;
    void Discard() override;
    void Close() override;
    std::string ErrorText() const override { return error_; }

    // Sample frames in the file of the current or latest recording.
    qint64 FramesWritten() const { return framesWritten_; }
    const QAudioFormat& Format() const { return format_; }
    // Whether the input is open (listening or capturing).
    bool InputOpen() const { return source_ != nullptr; }
    // An open input that has handed over no samples for kStalledAfterMs
    // (stopped without an error) is released and this is called; the
    // caller opens it again.
    static constexpr int kStalledAfterMs = 2000;
    void SetOnStalled(std::function<void()> onStalled) { onStalled_ = std::move(onStalled); }

    // Every block of samples as it comes in (interleaved 16-bit frames at
    // the input's rate and channel count), for the browser remote's
    // "Listen". While one is set the input stays open whatever recording
    // does; what is recorded does not change. False (ErrorText says why)
    // when the input does not open.
    using BlockListener =
        std::function<void(const std::int16_t* samples, qint64 frames, int sampleRate, int channels)>;
    bool SetBlockListener(BlockListener listener);

private:
    bool OpenInput();
    void ReleaseInput();
    // Moves what the input has captured into memory and into the file.
    void Drain();
    void CloseFile();
    bool Capturing() const { return file_ != nullptr; }

    std::unique_ptr<QAudioSource> source_;
    QPointer<QIODevice> input_;   // owned by source_, which may drop it on an error
    SNDFILE* file_ = nullptr;
    std::string path_;            // the file being written or last completed
    QAudioFormat format_;
    QElapsedTimer clock_;         // the time base of the held audio
    PreRollBuffer held_;
    QByteArray partial_;          // bytes of a frame not yet whole
    std::int64_t nextFileFrame_ = 0;  // the first frame not yet in the file
    qint64 framesWritten_ = 0;
    bool listening_ = false;
    BlockListener blockListener_;
    QTimer drainTimer_;
    QElapsedTimer sinceSamples_;  // while the input is open
    std::function<void()> onStalled_;
    std::string error_;
};

}  // namespace quorvane
