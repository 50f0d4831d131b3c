#pragma once
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "monitor/EndHit.h"
#include "monitor/IconRows.h"

namespace quorvane {

// Send a command text to the scanner ("KEY,E,P", "KEY,>,P").
struct SendCommandAction {
    std::string Text;
};

// Start recording the hit; HitRecord::Recording is already set.
struct StartRecordingAction {};

// What the extended info of a hit is chosen by, taken at the hit's start.
struct ExtendedInfoSource {
    std::string GidSystem;
    std::string FreqShown;
    std::string SystemText;
    std::string TalkgroupId;
};

struct ShowExtendedInfoAction {
    ExtendedInfoSource Source;
};

// What is known of a hit while it is on: its names as the log would show them
// now (from the talkgroup reply, the display lines or the hit-intelligence
// table by frequency, cleaned as at the hit's end), the frequency and the
// talkgroup ID.
struct LiveHit {
    std::string SystemText;
    std::string GroupText;
    std::string ChannelText;
    std::string RawFrequency;  // WIN field 2, eight digits
    std::string FreqShown;     // the frequency text of the frequency box
    std::string TalkgroupId;   // GID field 2; empty when the scanner gave none
    bool TrunkedHit = false;   // the talkgroup reply names the hit
    bool Skipped = false;      // the automatic skip moved past it: never logged

    bool operator==(const LiveHit&) const = default;
};

// A hit starts on this tick (the first one that sees the transmission).
struct HitStarted {
    LiveHit Hit;
};

// A later tick of the same hit learnt names the start did not have (a group
// from display line 1, the talkgroup reply's names). Sent only when the names
// or the talkgroup ID changed.
struct HitRenamed {
    LiveHit Hit;
};

using TickAction = std::variant<SendCommandAction, StartRecordingAction, ShowExtendedInfoAction, HitEnded,
                                HitStarted, HitRenamed>;

// What one poll tick asks the window to show and do. When Accepted is false
// the tick was dropped: nothing changes and the other members are empty.
struct TickOutcome {
    bool Accepted = false;
    std::string Text1;            // the two display lines, each ended by CR LF
    std::string FloatingTaskbar;  // the one-line display bar
    IconRows Icons;
    // The whole text of the frequency box: it keeps the last frequency (or
    // talkgroup ID) until a tick reads another, so it is what the box shows.
    std::string FreqBox;
    bool HitActive = false;       // a hit is being followed after this tick
    std::string DisplayLine1;     // raw display lines, for the window caption
    std::string DisplayLine2;
    // The signal level of this tick (WIN field 1, 0-255); none when the reply
    // carried no readable level.
    std::optional<int> SignalLevel;
    std::vector<TickAction> Actions;  // to be applied in this order
};

// The hit actions of a tick, in their order, to whoever follows hits (the
// alerts, the broker): started and renamed get the hit as known, ended the
// hit's end.
template <typename Started, typename Renamed, typename Ended>
void FollowHitActions(const TickOutcome& outcome, Started&& started, Renamed&& renamed, Ended&& ended) {
    for (const TickAction& action : outcome.Actions) {
        if (const auto* start = std::get_if<HitStarted>(&action)) {
            started(start->Hit);
        } else if (const auto* rename = std::get_if<HitRenamed>(&action)) {
            renamed(rename->Hit);
        } else if (const auto* end = std::get_if<HitEnded>(&action)) {
            ended(*end);
        }
    }
}

}  // namespace quorvane
