#include "monitor/qt/Poller.h"

#include "app/SettingsFiles.h"
#include "link/Commands.h"
#include "link/qt/ScannerLink.h"

namespace quorvane {
namespace {
constexpr int kNoReplyAfterMs = 3000;
}  // namespace

Poller::Poller(ScannerLink& link, const HitIntelTable& table, const SkipList& skipList, std::string launchDate,
               QObject* parent)
    : QObject(parent), link_(link), cycle_(table, skipList, clock_, std::move(launchDate)) {
    Timer1.setObjectName("Timer1");
    Timer1.setParent(this);
    Timer1.setInterval(kDefaultPollInterval);
    connect(&Timer1, &QTimer::timeout, this, &Poller::Timer1_Timer);
}

void Poller::Start() {
    silentMs_ = 0;
    Timer1.start();
}

void Poller::Stop() { Timer1.stop(); }

void Poller::Timer1_Timer() {
    // A key sequence, a harvest or memory programming has the line meanwhile.
    if (!link_.IsOpen() || link_.Ask(LineUser::Poll) != Grant::Go) return;
    // Nothing new is asked until the previous round is answered, so the
    // requests never pile up on a slow line.
    const auto round = link_.TakeRound();
    TickOutcome outcome;
    if (round) {
        link_.SendAll(LineUser::Poll, {kStatusRequest, kTalkgroupRequest, kFrequencyRequest});
        outcome = cycle_.Tick(*round, recordAudio_ && recordAudio_());
    }
    if (!outcome.Accepted) {
        silentMs_ += Timer1.interval();
        if (silentMs_ > kNoReplyAfterMs) SetSilent(true);
        return;
    }
    silentMs_ = 0;
    SetSilent(false);
    Apply(outcome);
    // Where a recording of the next hit begins is counted from here.
    if (!cycle_.Hit().HitActive) quietTick_.start();
}

void Poller::Apply(const TickOutcome& outcome) {
    for (const TickAction& action : outcome.Actions) {
        if (const auto* send = std::get_if<SendCommandAction>(&action)) {
            link_.Send(LineUser::Poll, send->Text);
        } else if (std::holds_alternative<StartRecordingAction>(action)) {
            emit RecordingWanted();
        } else if (const auto* show = std::get_if<ShowExtendedInfoAction>(&action)) {
            emit ExtendedInfoWanted(show->Source);
        } else if (const auto* ended = std::get_if<HitEnded>(&action)) {
            emit HitOver(*ended);
        }
    }
    emit Ticked(outcome);
}

void Poller::SetSilent(bool silent) {
    if (silent_ == silent) return;
    silent_ = silent;
    emit Silent(silent);
}

}  // namespace quorvane
