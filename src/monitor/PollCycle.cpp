#include "monitor/PollCycle.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "link/Commands.h"
#include "base/Fields.h"
#include "monitor/DisplayText.h"

namespace quorvane {
namespace {

constexpr size_t kGidFieldCount = 7;
constexpr size_t kWinFieldCount = 3;

// The scanner asks for a key press before it goes on; this line is never a
// channel name.
constexpr std::string_view kPressAnyKey = " Press Any Key  ";
// Display line 1 reads "Hold" while the user holds a channel, not a name.
constexpr std::string_view kHoldWord = "Hold";

std::string_view FirstChars(std::string_view text, size_t count) {
    return text.substr(0, count);
}

}  // namespace

PollCycle::PollCycle(const HitIntelTable& table, const SkipList& skipList, Clock& clock,
                     std::string launchDate)
    : table_(table), skipList_(skipList), clock_(clock), launchDate_(std::move(launchDate)) {}

TickOutcome PollCycle::Tick(const std::string& received, bool recordAudioTicked) {
    TickOutcome outcome;
    const std::vector<std::string> replies = SplitFields(received, '\r');
    if (replies.size() != 4) return outcome;
    std::optional<StatusFrame> frame = ParseStatusFrame(replies[0]);
    if (!frame) return outcome;
    frame_ = std::move(frame);
    outcome.Accepted = true;

    const std::vector<std::string> gid = SplitFields(replies[1], ',');
    const std::vector<std::string> win = SplitFields(replies[2], ',');
    if (win.size() == kWinFieldCount) outcome.SignalLevel = ParseSignalLevel(win[1]);
    if (gid.size() == kGidFieldCount && win.size() == kWinFieldCount) {
        values_.TalkgroupId = gid[2];
        values_.GidSystem = gid[4];
        values_.GidGroup = gid[5];
        values_.GidTalkgroup = gid[6];
        values_.RawFrequency = win[2];

        std::string frequency = FrequencyText(values_.RawFrequency);
        if (frequency != kNoFrequencyText) {
            if (!hit_.FreqLatched) hit_.FreqShown = std::move(frequency);
            freqBox_ = hit_.FreqShown;
        }
        FollowHit(outcome);
        DecideHit(recordAudioTicked, outcome);
    }

    const std::string& line1 = frame_->DisplayLine1();
    const std::string& line2 = frame_->DisplayLine2();
    outcome.Text1 = DisplayBoxText(line1, line2);
    outcome.FloatingTaskbar = FloatingTaskbarText(line1, line2);
    if (hit_.TrunkedHit) freqBox_.assign("ID: ").append(values_.TalkgroupId);
    icons_ = MakeIconRows(frame_->IconFlags1(), frame_->IconFlags2());
    outcome.Icons = icons_;
    outcome.FreqBox = freqBox_;
    outcome.HitActive = hit_.HitActive;
    outcome.DisplayLine1 = line1;
    outcome.DisplayLine2 = line2;
    return outcome;
}

std::optional<ExtendedInfoSource> PollCycle::CurrentReception() const {
    if (!frame_) return std::nullopt;
    return ExtendedInfoSource{values_.GidSystem, hit_.FreqShown, hit_.SystemText, values_.TalkgroupId};
}

// Collects the hit's names. Between hits they only follow the display; during
// a hit they come from the talkgroup reply when it names a group, otherwise
// from the display lines, each taken once.
void PollCycle::FollowHit(TickOutcome& outcome) {
    const std::string& line1 = frame_->DisplayLine1();
    const std::string& line2 = frame_->DisplayLine2();
    if (!hit_.HitActive) {
        hit_.SystemText = line1;
        hit_.GroupText.clear();
        hit_.ChannelText = line2;
        return;
    }

    hit_.FreqLatched = true;
    if (hit_.StartTime.empty()) hit_.StartTime = clock_.TimeOfDayText();

    if (!values_.GidGroup.empty()) {
        hit_.SystemText = values_.GidSystem;
        hit_.GroupText = values_.GidGroup;
        hit_.ChannelText = values_.GidTalkgroup;
        hit_.TrunkedHit = true;
        return;
    }

    if (!hit_.Line2Taken) {
        if (line2 == kPressAnyKey) {
            outcome.Actions.emplace_back(SendCommandAction{KeyCommand('E', 'P')});
        } else {
            hit_.ChannelText = line2;
            hit_.Line2Taken = true;
        }
    } else if (!hit_.CodeTaken) {
        // Line 2 changed but kept its start: the scanner now shows the tone or
        // code at the end of the channel line. The whole of it is taken (the
        // last six characters would keep only "0" of "100.0Hz").
        if (line2 != hit_.ChannelText && FirstChars(line2, 3) == FirstChars(hit_.ChannelText, 3)) {
            hit_.CodeText = ToneOrCodeText(line2);
            hit_.CodeTaken = true;
        }
    }

    if (!hit_.Line1Taken) {
        if (!Contains(line1, kHoldWord)) {
            hit_.SystemText = line1;
            hit_.Line1Taken = true;
        }
    } else if (!hit_.GroupTaken) {
        if (line1 != hit_.SystemText) {
            if (!Contains(line1, kHoldWord)) {
                hit_.GroupText = line1;
                hit_.GroupTaken = true;
            }
        } else {
            hit_.GroupText.clear();
        }
    }
}

void PollCycle::DecideHit(bool recordAudioTicked, TickOutcome& outcome) {
    if (!ShowsTransmission(frame_->HitIndicator())) {
        if (!hit_.HitActive) return;
        HitEnded ended = EndHit(hit_, values_,
                                HitEndContext{table_, icons_.Row1, recordAudioTicked, clock_.TimeOfDayText(),
                                              launchDate_});
        ended.SignalPeak = levels_.Peak();
        ended.SignalAverage = levels_.Average();
        levels_.Clear();
        reported_.reset();
        outcome.Actions.emplace_back(std::move(ended));
        return;
    }

    const bool starting = !hit_.HitActive;
    hit_.HitActive = true;
    if (outcome.SignalLevel) levels_.Add(*outcome.SignalLevel);
    const int presses =
        skipList_.SkipPresses(values_.RawFrequency, values_.TalkgroupId, frame_->DisplayLine2());
    for (int i = 0; i < presses; ++i) {
        outcome.Actions.emplace_back(SendCommandAction{KeyCommand('>', 'P')});
    }
    if (presses > 0) hit_.SkipSent = true;

    if (recordAudioTicked && !hit_.SkipSent && !hit_.Recording) {
        hit_.Recording = true;
        outcome.Actions.emplace_back(StartRecordingAction{});
    }
    if (!hit_.ExtendedShown) {
        outcome.Actions.emplace_back(ShowExtendedInfoAction{*CurrentReception()});
        hit_.ExtendedShown = true;
    }
    ReportNames(starting, outcome);
}

// The start of a hit is reported with the names known on its first tick; a
// later tick reports again only when the names came out different, so that
// whoever waits for a name hears of it once it is known, and once only.
void PollCycle::ReportNames(bool starting, TickOutcome& outcome) {
    if (!starting && reported_ && namesSeen_.Same(hit_, values_)) return;
    namesSeen_.Take(hit_, values_);
    LiveHit names = NamesNow();
    if (starting || !reported_) {
        reported_ = names;
        outcome.Actions.emplace_back(HitStarted{std::move(names)});
        return;
    }
    // A talkgroup ID once given stays the hit's, though a later reply is empty.
    if (names.TalkgroupId.empty()) names.TalkgroupId = reported_->TalkgroupId;
    const bool renamed = names.SystemText != reported_->SystemText || names.GroupText != reported_->GroupText ||
                         names.ChannelText != reported_->ChannelText || names.TalkgroupId != reported_->TalkgroupId;
    reported_ = names;
    if (renamed) outcome.Actions.emplace_back(HitRenamed{std::move(names)});
}

// The names the hit would be logged with if it ended now: the talkgroup
// reply's names when it names a group, otherwise the display lines as far as
// taken (never the "Hold" line or the key prompt), completed from the
// hit-intelligence table and cleaned by the same end-of-hit rules, on copies.
// The icons are this tick's: the transmission is on the display now.
LiveHit PollCycle::NamesNow() const {
    HitRecord hit = hit_;
    TickValues values = values_;
    if (!values_.GidGroup.empty()) {
        hit.SystemText = values_.GidSystem;
        hit.GroupText = values_.GidGroup;
        hit.ChannelText = values_.GidTalkgroup;
        hit.TrunkedHit = true;
    } else if (!hit.TrunkedHit) {
        if (Contains(hit.SystemText, kHoldWord)) hit.SystemText.clear();
        if (hit.ChannelText == kPressAnyKey) hit.ChannelText.clear();
    }
    const bool trunked = hit.TrunkedHit;
    hit.SkipSent = true;  // no log line is wanted, only the names
    const std::string icons = MakeIconRows(frame_->IconFlags1(), frame_->IconFlags2()).Row1;
    const HitEnded named = EndHit(hit, values, HitEndContext{table_, icons, false, {}, launchDate_});
    return LiveHit{named.Names.SystemText, named.Names.GroupText, named.Names.ChannelText,
                   values_.RawFrequency,   hit_.FreqShown,        values_.TalkgroupId,
                   trunked,                hit_.SkipSent};
}

bool PollCycle::NameSources::Same(const HitRecord& hit, const TickValues& values) const {
    return SystemText == hit.SystemText && GroupText == hit.GroupText && ChannelText == hit.ChannelText &&
           GidSystem == values.GidSystem && GidGroup == values.GidGroup && GidTalkgroup == values.GidTalkgroup &&
           TalkgroupId == values.TalkgroupId && RawFrequency == values.RawFrequency;
}

void PollCycle::NameSources::Take(const HitRecord& hit, const TickValues& values) {
    SystemText = hit.SystemText;
    GroupText = hit.GroupText;
    ChannelText = hit.ChannelText;
    GidSystem = values.GidSystem;
    GidGroup = values.GidGroup;
    GidTalkgroup = values.GidTalkgroup;
    TalkgroupId = values.TalkgroupId;
    RawFrequency = values.RawFrequency;
}

}  // namespace quorvane
