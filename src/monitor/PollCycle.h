#pragma once
#include <optional>
#include <string>

#include "monitor/Clock.h"
#include "monitor/HitIntelTable.h"
#include "monitor/HitRecord.h"
#include "monitor/IconRows.h"
#include "monitor/SignalLevel.h"
#include "monitor/SkipList.h"
#include "monitor/StatusFrame.h"
#include "monitor/TickOutcome.h"

namespace quorvane {

// The live monitor's state between poll ticks: the hit being followed, the
// talkgroup and frequency values, the last accepted status frame, the icon
// rows and the frequency box text.
//
// On every tick whose previous requests are answered (LineLedger), the poll
// sends "STS", "GID" and "WIN" and hands everything read since that round
// began to Tick, which answers what to show and do. A round that is not
// exactly three CR-ended replies (a key's reply among them) is dropped.
//
// Besides what the window shows, a tick reports the signal level, the start
// of a hit with its names (HitStarted), names a later tick of the hit learnt
// (HitRenamed), and the hit's peak and mean level when it ends.
class PollCycle {
public:
    PollCycle(const HitIntelTable& table, const SkipList& skipList, Clock& clock,
              std::string launchDate);

    TickOutcome Tick(const std::string& received, bool recordAudioTicked);

    const HitRecord& Hit() const { return hit_; }
    const TickValues& Values() const { return values_; }
    const std::optional<StatusFrame>& LastFrame() const { return frame_; }
    const IconRows& Icons() const { return icons_; }
    const std::string& FreqBox() const { return freqBox_; }
    const std::string& LaunchDate() const { return launchDate_; }

    // What the extended info is looked up by for the reception of the moment:
    // the talkgroup system and ID of the latest accepted tick, the frequency
    // as shown and the first name collected. A hit's start uses it, and so
    // does a refresh of the notes at any time. Nothing before the first
    // accepted tick has told what is being received.
    std::optional<ExtendedInfoSource> CurrentReception() const;

    // The recording has been stopped outside a hit end.
    void ResetRecording() { hit_.Recording = false; }

private:
    void FollowHit(TickOutcome& outcome);
    void DecideHit(bool recordAudioTicked, TickOutcome& outcome);
    void ReportNames(bool starting, TickOutcome& outcome);
    LiveHit NamesNow() const;

    // What the names of a hit are worked out from; the work (two walks over
    // the hit-intelligence table) is only redone when one of these changed.
    struct NameSources {
        std::string SystemText, GroupText, ChannelText, GidSystem, GidGroup, GidTalkgroup, TalkgroupId, RawFrequency;
        bool Same(const HitRecord& hit, const TickValues& values) const;
        void Take(const HitRecord& hit, const TickValues& values);
    };

    const HitIntelTable& table_;
    const SkipList& skipList_;
    Clock& clock_;
    std::string launchDate_;

    HitRecord hit_;
    TickValues values_;
    std::optional<StatusFrame> frame_;
    IconRows icons_;
    std::string freqBox_;

    SignalTally levels_;               // the levels of the hit being followed
    NameSources namesSeen_;            // what the last reported names came from
    std::optional<LiveHit> reported_; // the names last reported for this hit
};

}  // namespace quorvane
