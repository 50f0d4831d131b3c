#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

#include "monitor/PollCycle.h"
#include "monitor/qt/SystemClock.h"

namespace quorvane {

class ScannerLink;

// The poll: on every tick of Timer1 it asks the scanner for its status
// ("STS", "GID", "WIN") once the previous round is answered, hands the
// replies to the poll cycle and reports what the tick found. It polls only
// while the line is its to use (a key sequence, a harvest or memory
// programming hold it meanwhile).
class Poller : public QObject {
    Q_OBJECT
public:
    Poller(ScannerLink& link, const HitIntelTable& table, const SkipList& skipList, std::string launchDate,
           QObject* parent = nullptr);

    void Start();
    void Stop();
    bool Polling() const { return Timer1.isActive(); }
    void SetInterval(int ms) { Timer1.setInterval(ms); }
    int Interval() const { return Timer1.interval(); }
    // Whether "Record Audio" is ticked, read at every tick.
    void SetRecordAudio(std::function<bool()> ticked) { recordAudio_ = std::move(ticked); }

    PollCycle& Cycle() { return cycle_; }
    const HitRecord& Hit() const { return cycle_.Hit(); }
    // Milliseconds since the last accepted tick that saw no hit (a recording
    // of the next hit begins from there); kNoQuietTick before the first.
    qint64 SinceQuietTickMs() const { return quietTick_.isValid() ? quietTick_.elapsed() : kNoQuietTick; }
    static constexpr qint64 kNoQuietTick = -1;

signals:
    // An accepted tick, in this order: its actions, then Ticked.
    void RecordingWanted();
    void ExtendedInfoWanted(const quorvane::ExtendedInfoSource& source);
    void HitOver(const quorvane::HitEnded& ended);
    void Ticked(const quorvane::TickOutcome& outcome);
    // No tick accepted for a few seconds of polling (true), or one again.
    void Silent(bool silent);

private:
    void Timer1_Timer();
    void Apply(const TickOutcome& outcome);
    void SetSilent(bool silent);

    ScannerLink& link_;
    SystemClock clock_;
    PollCycle cycle_;
    QTimer Timer1;
    std::function<bool()> recordAudio_;
    int silentMs_ = 0;  // polling time since the last accepted tick
    bool silent_ = false;
    QElapsedTimer quietTick_;
};

}  // namespace quorvane
