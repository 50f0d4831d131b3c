#pragma once
#include <QObject>
#include <QString>
#include <QTimer>
#include <map>
#include <string>

#include "monitor/Recording.h"
#include "monitor/qt/AudioRecorder.h"

namespace quorvane {

class Poller;

// Recording the hits from the sound input ("Record Audio"), and the
// indicator in Text3 while the link runs (Timer3, after every poll tick and
// every change of the box). While the link runs with
// the box ticked, the input stays open holding its last seconds, so each
// recording begins a little before the poll saw the hit.
class HitRecorder : public QObject {
    Q_OBJECT
public:
    HitRecorder(Poller& poller, QObject* parent = nullptr);

    // "Record Audio" ticked or not.
    void SetWanted(bool ticked);
    bool Wanted() const { return wanted_; }
    // The link runs (the indicator shows, the input may listen) or not. A
    // recording under way goes on when the link stops, until the next run.
    void SetRunning(bool running);

    // After a speed is chosen: tries the input once.
    void SetUp();
    // At each run of the link: the input starts closed; a hit still in
    // progress is recorded afresh from the next poll tick.
    void Reopen();

    // A hit began (folder: where recordings go).
    void Start(const std::string& folder);
    // A hit ended: its recording saved under its name; the file name it got,
    // empty when none.
    std::string Stop(const RecordingNames& names, const std::string& launchDate, const std::string& folder);

    // Taps on the sound input: every block as it comes in, to each tap (the
    // browser remote's "Listen", the live feed, the tone detector). While one
    // tap is set the input stays open whatever recording does; what is
    // recorded does not change. AddSoundTap gives the tap's number for
    // RemoveSoundTap; false in *opened (ErrorText of the input says why)
    // when no input opens, and the tap stays set, to hear the input once it
    // is opened again.
    int AddSoundTap(DefaultInputRecorder::BlockListener tap, bool* opened = nullptr);
    void RemoveSoundTap(int number);
    bool SoundTapped() const { return !taps_.empty(); }
    QString SoundInputError() const { return QString::fromStdString(input_.ErrorText()); }

signals:
    void Tell(const QString& text);
    // The indicator's text ("Waiting", "Active", "Recording").
    void Indicator(const QString& text);
    // A few words for Text3.
    void Note(const QString& text);

private:
    void Listen();
    bool OpenTaps();
    void Say(const std::optional<std::string>& message);
    void Timer3_Timer();

    Poller& poller_;
    DefaultInputRecorder input_;
    HitRecording rules_;
    QTimer Timer3;
    bool wanted_ = false;
    bool running_ = false;
    std::map<int, DefaultInputRecorder::BlockListener> taps_;
    int nextTap_ = 1;
};

}  // namespace quorvane
