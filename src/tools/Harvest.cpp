#include "tools/Harvest.h"

#include <optional>
#include <utility>

#include "link/Commands.h"
#include "base/Fields.h"
#include "tools/HitDelay.h"

namespace quorvane {

namespace {

const std::string kEndOfList = "-1";
const std::string kLineEnd = "\r\n";

// Reply fields read by the walk, numbered from 0 (field 0 is the word).
constexpr std::size_t kSihFirstSystem = 1;
constexpr std::size_t kSinName = 2;
constexpr std::size_t kSinNextSystem = 11;
constexpr std::size_t kSinFirstGroup = 12;
constexpr std::size_t kGinName = 2;
constexpr std::size_t kGinNextGroup = 6;
constexpr std::size_t kGinFirstChannel = 8;
constexpr std::size_t kCinName = 1;
constexpr std::size_t kCinFrequency = 2;
constexpr std::size_t kCinNextChannel = 12;

// The last line that answers `word` with at least fieldCount fields and,
// when staleNext is given, whose field `nextField` is not that index (such
// a line is the late answer about the item before the one requested).
std::optional<std::vector<std::string>> LastUsable(const std::vector<std::string>& lines, const std::string& word,
                                 std::size_t fieldCount, std::size_t nextField = 0,
                                 const std::string* staleNext = nullptr) {
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        std::vector<std::string> fields = SplitFields(*line, ',');
        if (fields[0] != word || fields.size() < fieldCount) continue;
        if (staleNext != nullptr && fields[nextField] == *staleNext) continue;
        return fields;
    }
    return std::nullopt;
}

}  // namespace

Harvest::Harvest(long long hitDelayMs, HarvestPace pace) : hitDelayMs_(hitDelayMs), pace_(pace) {}

Harvest Harvest::ForDelayText(const std::string& delayText) {
    if (delayText == kAutoDelayText) return Harvest(kAutoReplyWaitMs, HarvestPace::Auto);
    return Harvest(HitDelayFromText(delayText));
}

bool Harvest::Running() const { return phase_ != Phase::Idle && phase_ != Phase::Ended; }

std::string Harvest::FoundText() const { return "Found: " + kLineEnd + progress_.lastChannelName; }

const HarvestStep& Harvest::Start() {
    if (phase_ != Phase::Idle) return last_;
    if (!IsUsableHitDelay(hitDelayMs_)) {
        return End(HarvestOutcome::Failed, "The delay of " + std::to_string(hitDelayMs_) + " ms is outside " +
                                               std::to_string(kHitDelayMin) + " to " + std::to_string(kHitDelayMax) +
                                               " ms: choose another delay.");
    }
    return Request(Phase::Programming, kEnterProgramming);
}

const HarvestStep& Harvest::Cancel() {
    if (phase_ == Phase::Ended) return last_;
    return End(HarvestOutcome::Cancelled, kHarvestCancelledMessage);
}

const HarvestStep& Harvest::OnReplyLine(const std::string& line) {
    if (!Running()) return OnNoReply();
    lines_.push_back(line);
    // At the "Auto" pace the awaited reply ends the wait.
    if (pace_ == HarvestPace::Auto && UsableReply(lines_)) return Answered();
    last_.outcome = HarvestOutcome::Wait;
    return last_;
}

const HarvestStep& Harvest::OnNoReply() {
    if (phase_ == Phase::Idle) return End(HarvestOutcome::Failed, "The harvest was not started.");
    if (phase_ == Phase::Ended) return last_;
    return Answered();
}

std::optional<Harvest::Fields> Harvest::UsableReply(const std::vector<std::string>& lines) const {
    switch (phase_) {
        case Phase::FirstSystem:
            return LastUsable(lines, kFirstSystemRequest, kSihFirstSystem + 1);
        case Phase::System:
            return LastUsable(lines, "SIN", kSinFirstGroup + 1, kSinNextSystem, &currentSystem_);
        case Phase::Group:
            return LastUsable(lines, "GIN", kGinFirstChannel + 1, kGinNextGroup, &currentGroup_);
        case Phase::Channel:
            return LastUsable(lines, "CIN", kCinNextChannel + 1, kCinNextChannel, &currentChannel_);
        case Phase::Programming:
        case Phase::SystemLeadIn:
        case Phase::GroupLeadIn:
        case Phase::ChannelLeadIn:
            // The reply is not used: any answer to the command will do.
            return LastUsable(lines, command_.substr(0, command_.find(',')), 1);
        case Phase::Idle:
        case Phase::Ended:
            break;
    }
    return std::nullopt;
}

const HarvestStep& Harvest::Answered() {
    const std::vector<std::string> lines = std::exchange(lines_, {});
    switch (phase_) {
        case Phase::Programming:
            return Request(Phase::FirstSystem, kFirstSystemRequest);

        case Phase::FirstSystem: {
            const auto reply = UsableReply(lines);
            if (!reply) return RequestAgain();
            currentSystem_ = (*reply)[kSihFirstSystem];
            return Request(Phase::SystemLeadIn, SystemRequest(currentSystem_));
        }

        case Phase::SystemLeadIn:
            return NextSystem();

        case Phase::System: {
            const auto reply = UsableReply(lines);
            if (!reply) return RequestAgain();
            systemName_ = (*reply)[kSinName];
            currentSystem_ = (*reply)[kSinNextSystem];
            currentGroup_ = (*reply)[kSinFirstGroup];
            walkedGroups_.clear();
            ++progress_.systems;
            return Request(Phase::GroupLeadIn, GroupRequest(currentGroup_));
        }

        case Phase::GroupLeadIn:
            return NextGroup();

        case Phase::Group: {
            const auto reply = UsableReply(lines);
            if (!reply) return RequestAgain();
            groupName_ = (*reply)[kGinName];
            currentGroup_ = (*reply)[kGinNextGroup];
            currentChannel_ = (*reply)[kGinFirstChannel];
            walkedChannels_.clear();
            ++progress_.groups;
            return Request(Phase::ChannelLeadIn, ChannelRequest(currentChannel_));
        }

        case Phase::ChannelLeadIn:
            return NextChannel();

        case Phase::Channel: {
            const auto reply = UsableReply(lines);
            if (!reply) return RequestAgain();
            const Fields& fields = *reply;
            records_.push_back(fields[kCinFrequency] + '\t' + fields[kCinName] + '\t' + groupName_ +
                               '\t' + systemName_ + kLineEnd);
            ++progress_.channels;
            progress_.lastChannelName = fields[kCinName];
            if (records_.size() > kHarvestMaxRecords) {
                return End(HarvestOutcome::Failed,
                           "The scanner listed more than " + std::to_string(kHarvestMaxRecords) +
                               " channels, more than the table holds, so the harvest stopped. "
                               "hit_intel.txt was not changed.");
            }
            currentChannel_ = fields[kCinNextChannel];
            return NextChannel();
        }

        case Phase::Idle:
        case Phase::Ended:
            break;
    }
    return last_;
}

const HarvestStep& Harvest::Request(Phase phase, std::string command) {
    phase_ = phase;
    command_ = std::move(command);
    tries_ = 1;
    ++progress_.commands;
    NoteSent(command_);
    last_ = HarvestStep{};
    last_.outcome = HarvestOutcome::Send;
    last_.command = command_;
    last_.waitMs = static_cast<int>(hitDelayMs_);
    last_.untilReply = pace_ == HarvestPace::Auto;
    last_.progress = progress_;
    return last_;
}

const HarvestStep& Harvest::RequestAgain() {
    if (tries_ >= kMostSends) {
        return End(HarvestOutcome::Failed, "No usable reply to " + command_ + " after " + std::to_string(kMostSends) +
                                               " tries. The scanner may be slow: choose a longer delay and try again.");
    }
    ++tries_;
    ++progress_.commands;
    last_.outcome = HarvestOutcome::Send;
    last_.progress = progress_;
    return last_;
}

const HarvestStep& Harvest::RequestInList(std::unordered_set<std::string>& walked, Phase phase,
                                          std::string command, const std::string& index) {
    if (!walked.insert(index).second) {
        return End(HarvestOutcome::Failed,
                   "The scanner's memory list leads back to " + command +
                       ", which was already read: the list loops, so the harvest stopped. "
                       "hit_intel.txt was not changed.");
    }
    return Request(phase, std::move(command));
}

const HarvestStep& Harvest::NextSystem() {
    if (currentSystem_ == kEndOfList) return Finish();
    return RequestInList(walkedSystems_, Phase::System, SystemRequest(currentSystem_), currentSystem_);
}

const HarvestStep& Harvest::NextGroup() {
    if (currentGroup_ == kEndOfList) return NextSystem();
    return RequestInList(walkedGroups_, Phase::Group, GroupRequest(currentGroup_), currentGroup_);
}

const HarvestStep& Harvest::NextChannel() {
    if (currentChannel_ == kEndOfList) return NextGroup();
    return RequestInList(walkedChannels_, Phase::Channel, ChannelRequest(currentChannel_), currentChannel_);
}

const HarvestStep& Harvest::Finish() {
    End(HarvestOutcome::Finished, kHarvestUpdatedMessage);
    std::size_t size = kLineEnd.size();
    for (const std::string& record : records_) size += record.size();
    std::string& file = last_.fileBytes;
    file.reserve(size);
    // Newest first: the last channel found heads the file.
    for (auto record = records_.rbegin(); record != records_.rend(); ++record) file += *record;
    file += kLineEnd;
    records_.clear();
    return last_;
}

const HarvestStep& Harvest::End(HarvestOutcome outcome, std::string message) {
    phase_ = Phase::Ended;
    lines_.clear();
    last_ = HarvestStep{};
    MakeEnd(last_, outcome, std::move(message));
    last_.progress = progress_;
    return last_;
}

}  // namespace quorvane
