#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "link/ProgramSession.h"

namespace quorvane {

// The hit-intelligence harvest: reads the scanner's stored systems, groups
// and channels in programming mode and builds the bytes of hit_intel.txt.
//
// The walk is a Program Mode session (ProgramSession) the window runs over
// the line; it does no I/O and never waits. Each step either asks for one
// command to be sent, followed by one wait of the hit delay (every whole
// reply line that comes in meanwhile is handed to OnReplyLine, and
// OnNoReply marks the end of the wait), or ends the harvest.
//
// Command order: "PRG", "SIH", "SIN," + first system, then for each system
// "SIN," + system and "GIN," + its first group, for each group "GIN," + group
// and "CIN," + its first channel, for each channel "CIN," + channel. The
// requests for a first group or first channel are sent even when the index
// is "-1"; their replies, like those of "PRG" and the first "SIN,", are not
// used. Indexes go back to the scanner exactly as received and are compared
// with "-1" as text.
//
// Replies: a line is a usable reply when its field 0 is the word of the
// request and it holds every field the walk reads (SIH 1; SIN 2, 11, 12; GIN
// 2, 6, 8; CIN 1, 2, 12). A reply whose next index equals the index being
// requested answers the item before it (it arrived late) and is passed
// over. Of several usable lines in one wait the last is taken. With no
// usable reply the same item is requested again; after kMostSends requests
// of one item without one the harvest fails.
//
// Pace: with a fixed delay every command is followed by that wait, whatever
// comes in. At the "Auto" pace the wait ends as soon as the reply the step
// waits for has come in whole, and lasts at most kAutoReplyWaitMs; the
// commands on the wire and the file are the same as with a fixed delay.
//
// A memory whose next-index fields lead back to an index already walked in
// the same list (the systems, a system's groups, a group's channels), or
// that yields more channels than the table holds, ends the harvest as failed:
// such a walk would never end.
using HarvestOutcome = SessionOutcome;

struct HarvestProgress {
    int commands = 0;  // commands sent, repeats included
    int systems = 0;
    int groups = 0;
    int channels = 0;
    std::string lastChannelName;  // raw bytes of the last channel found
};

// Finished: `message` for the message box, `fileBytes` the whole new content
// of hit_intel.txt (write it, reload the table); the scanner is in
// programming mode until the line is let go after the message was closed.
struct HarvestStep : SessionStep {
    // Send, Wait: the wait may end early, as soon as the awaited reply is whole.
    bool untilReply = false;
    std::string fileBytes;     // Finished
    HarvestProgress progress;  // counts at the time of the step
};

// The longest wait for a reply at the "Auto" pace.
inline constexpr int kAutoReplyWaitMs = 1000;
// The most channels a harvest collects: the lines HitIntelTable holds.
inline constexpr std::size_t kHarvestMaxRecords = 6001;
// The delay list's entry for the "Auto" pace.
inline constexpr const char* kAutoDelayText = "Auto";

enum class HarvestPace {
    FixedDelay,  // wait the hit delay after every command
    Auto,        // wait until the reply has come in whole
};
inline constexpr const char* kHarvestUpdatedMessage = "Hit Inteligence Updated";
inline constexpr const char* kHarvestCancelledMessage =
    "Hit Inteligence update cancelled. hit_intel.txt was not changed.";
// Caption shown after the walk, before the file is written.
inline constexpr const char* kHarvestDoneCaption = "Done!";

class Harvest : public ProgramSession {
public:
    // hitDelayMs: the value of the delay list (HitDelayFromText); a harvest
    // with a delay outside 0 to 32767 does not start.
    explicit Harvest(long long hitDelayMs, HarvestPace pace = HarvestPace::FixedDelay);
    // From the text of the delay list: "Auto", or a delay (HitDelayFromText).
    static Harvest ForDelayText(const std::string& delayText);

    // Begins the walk with "PRG". Called again, returns the current step.
    const HarvestStep& Start() override;
    // A reply line while a Send step waits: Wait, unless at the "Auto" pace
    // it is the awaited reply (then as OnNoReply).
    const HarvestStep& OnReplyLine(const std::string& line) override;
    // The wait of the last Send step is over: the lines that came in decide
    // the next step.
    const HarvestStep& OnNoReply() override;
    // Ends the walk: nothing more is sent after the command already sent and
    // nothing is written. Returns the Cancelled step (or the end step of a
    // harvest that had already ended).
    const HarvestStep& Cancel() override;
    const HarvestStep& Current() const override { return last_; }
    int CommandsSent() const override { return progress_.commands; }

    bool Running() const;
    const HarvestProgress& Progress() const { return progress_; }
    // The text for Text1 while harvesting: "Found: " CR LF + last channel name.
    std::string FoundText() const;

private:
    enum class Phase {
        Idle,
        Programming,      // "PRG" sent, reply discarded
        FirstSystem,      // "SIH" sent
        SystemLeadIn,     // first "SIN," sent, reply unused
        System,           // "SIN," + current system sent
        GroupLeadIn,      // "GIN," + first group sent, reply unused
        Group,            // "GIN," + current group sent
        ChannelLeadIn,    // "CIN," + first channel sent, reply unused
        Channel,          // "CIN," + current channel sent
        Ended,
    };

    using Fields = std::vector<std::string>;
    // The reply the current phase uses, from whole lines.
    std::optional<Fields> UsableReply(const std::vector<std::string>& lines) const;
    // The next step from the lines that came in during the wait.
    const HarvestStep& Answered();
    // Requests the next item of a list unless its index was walked before.
    const HarvestStep& RequestInList(std::unordered_set<std::string>& walked, Phase phase, std::string command,
                                     const std::string& index);
    const HarvestStep& Request(Phase phase, std::string command);
    const HarvestStep& RequestAgain();
    const HarvestStep& NextSystem();
    const HarvestStep& NextGroup();
    const HarvestStep& NextChannel();
    const HarvestStep& Finish();
    const HarvestStep& End(HarvestOutcome outcome, std::string message);

    long long hitDelayMs_;
    HarvestPace pace_;
    Phase phase_ = Phase::Idle;
    std::string command_;  // the request under way
    int tries_ = 0;        // how often command_ has been sent in a row
    std::vector<std::string> lines_;  // reply lines come in since the last send
    std::string currentSystem_;
    std::string currentGroup_;
    std::string currentChannel_;
    std::string systemName_;
    std::string groupName_;
    // Indexes walked in the current lists, to catch a list that loops.
    std::unordered_set<std::string> walkedSystems_;
    std::unordered_set<std::string> walkedGroups_;    // of the current system
    std::unordered_set<std::string> walkedChannels_;  // of the current group
    std::vector<std::string> records_;  // in walk order
    HarvestProgress progress_;
    HarvestStep last_;  // the step returned last (the end step once ended)
};

}  // namespace quorvane
