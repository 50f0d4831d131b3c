#pragma once
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

using TickAction =
    std::variant<SendCommandAction, StartRecordingAction, ShowExtendedInfoAction, HitEnded>;

// What one poll tick asks the window to show and do. When Accepted is false
// the tick was dropped: nothing changes and the other members are empty.
struct TickOutcome {
    bool Accepted = false;
    std::string Text1;            // the two display lines, each ended by CR LF
    std::string FloatingTaskbar;  // the one-line display bar
    IconRows Icons;
    std::string FreqBox;          // the whole text of the frequency box
    bool FreqBoxChanged = false;
    std::string DisplayLine1;     // raw display lines, for the window caption
    std::string DisplayLine2;
    std::vector<TickAction> Actions;  // to be applied in this order
};

}  // namespace quorvane
