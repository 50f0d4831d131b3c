#include "memory/PlanRunner.h"

#include <algorithm>

#include "link/Commands.h"
#include "memory/MemoryCommands.h"
#include "memory/MemoryCompare.h"
#include "memory/MemoryPlace.h"
#include "memory/MemorySettings.h"
#include "memory/MemoryValues.h"

namespace quorvane {
namespace {

bool IsAppendWord(const std::string& word) {
    return word == "CSY" || word == "AGC" || word == "AGT" || word == "ACC" || word == "ACT";
}

std::string DeleteFor(const std::string& appendWord, const std::string& index) {
    if (appendWord == "CSY") return DeleteSystemCommand(index);
    if (appendWord == "AGC" || appendWord == "AGT") return DeleteGroupCommand(index);
    return DeleteMemberCommand(index);
}

std::string JoinFields(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + fields[i];
    return line;
}

}  // namespace

PlanRunner::PlanRunner(WritePlan plan)
    : plan_(std::move(plan)), created_(static_cast<std::size_t>(plan_.created)), present_(IndexesOf(plan_.read)) {
    clears_ = !plan_.steps.empty() && plan_.steps.front().action == PlanAction::Clear ? 1 : 0;
    Counts().stage = clears_ ? MemoryStage::Clearing : MemoryStage::Writing;
    Counts().recordsTotal = plan_.steps.size() - clears_ + SettingCommands(plan_.read, plan_.target).size();
}

void PlanRunner::ShowWritten() {
    Counts().stage = next_ < clears_ ? MemoryStage::Clearing : MemoryStage::Writing;
    Counts().recordsDone = next_ - std::min(next_, clears_) + settingsDone_;
}

PlanRunner::~PlanRunner() = default;

const ScannerMemory& PlanRunner::ReadBack() const {
    static const ScannerMemory none;
    return reader_ ? reader_->Result() : none;
}

std::string PlanRunner::CancelMessage() const {
    if (phase_ == Phase::ReadBack) return "The check of the scanner's memory was cancelled; everything was written.";
    return "Writing was cancelled after " + std::to_string(next_) + " of " + std::to_string(plan_.steps.size()) +
           " changes: the scanner holds only part of them.";
}

MemoryStep PlanRunner::Begin() { return Request(kEnterProgramming); }

std::string PlanRunner::Resolve(const PlanRef& ref) const {
    return ref.created >= 0 ? created_[static_cast<std::size_t>(ref.created)] : ref.index;
}

std::string PlanRunner::CommandOf(const PlanStep& step) const {
    switch (step.action) {
        case PlanAction::Clear:
            return kClearMemory;
        case PlanAction::CreateSystem:
            return CreateSystemCommand(step.type);
        case PlanAction::AppendGroup:
            return AppendGroupCommand(Resolve(step.parent), step.talkgroup);
        case PlanAction::AppendMember:
            return AppendMemberCommand(Resolve(step.parent), step.talkgroup);
        case PlanAction::Set:
            return SetCommand(*step.layout, Resolve(step.target), step.fields);
        case PlanAction::DeleteSystem:
            return DeleteSystemCommand(Resolve(step.target));
        case PlanAction::DeleteGroup:
            return DeleteGroupCommand(Resolve(step.target));
        case PlanAction::DeleteMember:
            return DeleteMemberCommand(Resolve(step.target));
    }
    return "";
}

void PlanRunner::Place(const TreePlace& place, const std::string& index) {
    System& system = plan_.target.systems[place.system];
    if (place.group == TreePlace::npos) {
        system.index = index;
        return;
    }
    Group& group = (place.site ? system.sites : system.groups)[place.group];
    if (place.member == TreePlace::npos) group.index = index;
    else if (place.site) group.frequencies[place.member].index = index;
    else if (group.type == kTalkgroupGroupType) group.talkgroups[place.member].index = index;
    else group.channels[place.member].index = index;
}

std::string PlanRunner::PlaceText(const TreePlace& place) const {
    const System& system = plan_.target.systems[place.system];
    std::string text = SystemPlace(place.system, system);
    if (place.group == TreePlace::npos) return text;
    const Group& group = (place.site ? system.sites : system.groups)[place.group];
    text = GroupPlace(text, place.group, group, place.site);
    if (place.member == TreePlace::npos) return text;
    if (place.site) return TrunkFrequencyPlace(text, place.member);
    if (group.type == kTalkgroupGroupType) return TalkgroupPlace(text, place.member, group.talkgroups[place.member]);
    return ChannelPlace(text, place.member, group.channels[place.member]);
}

MemoryStep PlanRunner::NextStep() {
    while (next_ < plan_.steps.size()) {
        const PlanStep& step = plan_.steps[next_];
        if (step.action != PlanAction::AppendGroup || step.talkgroup) break;
        const auto made = firmwareSites_.find(Resolve(step.parent));
        if (made == firmwareSites_.end()) break;
        created_[static_cast<std::size_t>(step.target.created)] = made->second;
        known_.insert(made->second);
        Place(step.place, made->second);
        firmwareSites_.erase(made);
        ++next_;
        ShowWritten();
    }
    if (next_ >= plan_.steps.size()) {
        for (const auto& [system, site] : firmwareSites_) orphans_.push_back(DeleteGroupCommand(site));
        firmwareSites_.clear();
    }
    if (next_ < plan_.steps.size()) {
        const PlanStep& step = plan_.steps[next_];
        return SendChange(CommandOf(step), step.action == PlanAction::Clear ? kClearWaitMs : kMemoryReplyWaitMs);
    }
    if (!orphans_.empty()) {
        phase_ = Phase::Orphans;
        std::string command = std::move(orphans_.back());
        orphans_.pop_back();
        return SendChange(std::move(command));
    }
    if (!settingsPlanned_) {
        settingsPlanned_ = true;
        settings_ = SettingCommands(plan_.read, plan_.target);
        std::reverse(settings_.begin(), settings_.end());
        Counts().recordsTotal = plan_.steps.size() - clears_ + settings_.size();
    }
    if (!settings_.empty()) {
        phase_ = Phase::Settings;
        std::string command = std::move(settings_.back());
        settings_.pop_back();
        return Request(std::move(command));
    }
    return StartReadBack();
}

MemoryStep PlanRunner::Answer(const Reply& reply) {
    switch (phase_) {
        case Phase::Programming:
            if (reply[0] != Word()) return PassOver();
            phase_ = Phase::Steps;
            return NextStep();
        case Phase::Steps:
            return OnStepAnswer(reply);
        case Phase::NewSystem: {
            if (reply[0] != Word()) {
                NoteStray(reply);
                return PassOver();
            }
            // SIN: type, 8 settings, previous, next, first group, last group, sequence.
            constexpr std::size_t kFirstGroup = 12;
            if (reply.size() < kFirstGroup + 3) return PassOver("too few fields in " + ScannerText(JoinFields(reply)));
            if (reply[kFirstGroup] != kEndOfList) {
                firmwareSites_[Command().substr(Command().find(',') + 1)] = reply[kFirstGroup];
                present_.insert(reply[kFirstGroup]);
            }
            phase_ = Phase::Steps;
            return NextStep();
        }
        case Phase::Orphans:
            if (reply[0] != Word()) {
                NoteStray(reply);
                return PassOver();
            }
            present_.erase(Command().substr(Command().find(',') + 1));
            return NextStep();
        case Phase::Settings:
            if (reply[0] != Word()) {
                NoteStray(reply);
                return PassOver();
            }
            if (reply.size() < 2 || reply[1] != "OK") return PassOver("not OK: " + ScannerText(JoinFields(reply)));
            ++settingsDone_;
            ShowWritten();
            return NextStep();
        case Phase::ReadBack:
            return OnReadBack(reply);
        case Phase::Check:
            return OnCheck(reply);
    }
    return PassOver();
}

void PlanRunner::NoteStray(const Reply& reply) {
    // A late answer to an append that was sent again: a second record.
    if (reply.size() == 2 && IsAppendWord(reply[0]) && reply[1] != kEndOfList && !reply[1].empty() &&
        known_.insert(reply[1]).second) {
        present_.insert(reply[1]);
        orphans_.push_back(DeleteFor(reply[0], reply[1]));
    }
}

MemoryStep PlanRunner::OnStepAnswer(const Reply& reply) {
    if (reply[0] != Word()) {
        NoteStray(reply);
        return PassOver();
    }
    return StepDone(reply);
}

MemoryStep PlanRunner::StepDone(const Reply& reply) {
    const PlanStep& step = plan_.steps[next_];
    switch (step.action) {
        case PlanAction::CreateSystem:
        case PlanAction::AppendGroup:
        case PlanAction::AppendMember: {
            if (reply.size() != 2 || reply[1].empty()) return PassOver("no index in " + ScannerText(JoinFields(reply)));
            if (reply[1] == kEndOfList) {
                return Fail("The scanner's memory is full: " + PlaceText(step.place) + " could not be made (" +
                            ScannerText(CommandOf(step)) + " answered -1). Free some memory, or write less.");
            }
            if (!known_.insert(reply[1]).second) return PassOver();  // an index already given: a late answer
            present_.insert(reply[1]);
            created_[static_cast<std::size_t>(step.target.created)] = reply[1];
            Place(step.place, reply[1]);
            if (step.action == PlanAction::CreateSystem && IsTrunkedType(step.type)) {
                // Did the firmware make the system's frequency group?
                ++next_;
                ShowWritten();
                phase_ = Phase::NewSystem;
                return Request(ReadCommand(SystemLayout(), reply[1]));
            }
            break;
        }
        case PlanAction::Clear:
        case PlanAction::Set:
        case PlanAction::DeleteSystem:
        case PlanAction::DeleteGroup:
        case PlanAction::DeleteMember:
            if (reply.size() < 2 || reply[1] != "OK") return PassOver("not OK: " + ScannerText(JoinFields(reply)));
            if (step.action == PlanAction::Clear) present_.clear();
            else if (step.action != PlanAction::Set) present_.erase(Resolve(step.target));
            break;
    }
    ++next_;
    ShowWritten();
    return NextStep();
}

MemoryStep PlanRunner::SendChange(std::string command, int waitMs) {
    changeSends_ = 1;
    return Request(std::move(command), waitMs);
}

MemoryStep PlanRunner::ChangeUnanswered() {
    std::string system, group;
    if (phase_ == Phase::Steps) {
        const PlanStep& step = plan_.steps[next_];
        if (step.system.created >= 0 || !step.system.index.empty()) system = Resolve(step.system);
        if (step.group.created >= 0 || !step.group.index.empty()) group = Resolve(step.group);
    }
    check_ = CheckOf(Command(), system, group);
    checkedPhase_ = phase_;
    phase_ = Phase::Check;
    checkReader_ = std::make_unique<MemoryReader>(check_.scope, false);
    return Checked(checkReader_->Start());
}

MemoryStep PlanRunner::OnCheck(const Reply& reply) {
    // The change's own answer, late: it settles the question.
    if (reply[0] == check_.word && reply.size() == 2 && !reply[1].empty() &&
        (check_.makes ? !known_.count(reply[1]) : reply[1] == "OK"))
        return Settled(reply);
    if (IsAppendWord(reply[0])) {
        NoteStray(reply);
        return PassOver();
    }
    return Checked(checkReader_->OnReplyLine(JoinFields(reply)));
}

MemoryStep PlanRunner::Checked(MemoryStep inner) {
    switch (inner.outcome) {
        case MemoryOutcome::Send:
        case MemoryOutcome::Wait:
            return Adopt(std::move(inner));
        case MemoryOutcome::Finished:
            break;
        case MemoryOutcome::Failed:
        case MemoryOutcome::Cancelled:
            return Fail("No answer to " + ScannerText(check_.command) +
                        ", and reading the scanner's list back to see whether it was done failed: " + inner.message);
    }
    const ScannerMemory& seen = checkReader_->Result();
    if (check_.makes) {
        const std::vector<std::string> made = MadeRecords(check_, seen, present_);
        if (!made.empty()) {
            // Made more than once: the records after the first go again.
            for (std::size_t extra = 1; extra < made.size(); ++extra) {
                known_.insert(made[extra]);
                present_.insert(made[extra]);
                orphans_.push_back(DeleteFor(check_.word, made[extra]));
            }
            return Settled({check_.word, made.front()});
        }
    } else if (!HoldsIndex(seen, check_.index)) {
        return Settled({check_.word, "OK"});
    }
    // Not done: the command did not reach the scanner.
    if (changeSends_ >= kMostSends) {
        return Fail("No answer to " + ScannerText(check_.command) + " after " + std::to_string(changeSends_) +
                    " sends, and the scanner's memory shows it was not done. Check the cable and the port speed.");
    }
    phase_ = checkedPhase_;
    ++changeSends_;
    return Request(check_.command, kChangeWaitMs, changeSends_);
}

MemoryStep PlanRunner::Settled(const Reply& reply) {
    phase_ = checkedPhase_;
    if (phase_ == Phase::Steps) return StepDone(reply);
    present_.erase(check_.index);  // an orphan's delete
    return NextStep();
}

MemoryStep PlanRunner::StartReadBack() {
    phase_ = Phase::ReadBack;
    ReadScope scope;
    const bool clears = !plan_.steps.empty() && plan_.steps.front().action == PlanAction::Clear;
    scope.everything = clears;
    for (const PlanStep& step : plan_.steps) {
        const std::string system = step.system.created >= 0 || !step.system.index.empty() ? Resolve(step.system) : "";
        const std::string group = step.group.created >= 0 || !step.group.index.empty() ? Resolve(step.group) : "";
        const bool settingsOnly = step.action == PlanAction::Set && step.layout == &SystemLayout();
        if (step.action == PlanAction::DeleteSystem || settingsOnly) continue;
        if (!system.empty()) scope.systems.insert(system);
        const bool groupOnly = step.action == PlanAction::DeleteGroup ||
                               (step.action == PlanAction::Set && step.layout == &GroupLayout());
        if (!group.empty() && !groupOnly) scope.groups.insert(group);
    }
    std::size_t expected = plan_.target.systems.size();
    for (const System& system : plan_.target.systems) {
        if (!scope.everything && !scope.systems.count(system.index)) continue;
        for (const auto* list : {&system.sites, &system.groups}) {
            for (const Group& group : *list) {
                ++expected;
                if (scope.everything || scope.groups.count(group.index))
                    expected += group.channels.size() + group.talkgroups.size() + group.frequencies.size();
            }
        }
    }
    Counts().stage = MemoryStage::Checking;
    Counts().recordsTotal = expected;
    reader_ = std::make_unique<MemoryReader>(std::move(scope), false);
    return Handle(reader_->Start());
}

MemoryStep PlanRunner::OnReadBack(const Reply& reply) { return Handle(reader_->OnReplyLine(JoinFields(reply))); }

MemoryStep PlanRunner::Handle(MemoryStep inner) {
    Counts().recordsDone = inner.progress.recordsDone;
    switch (inner.outcome) {
        case MemoryOutcome::Send:
        case MemoryOutcome::Wait:
            return Adopt(std::move(inner));
        case MemoryOutcome::Finished:
            difference_ = FirstDifference(plan_.target, reader_->Result());
            if (difference_) return Fail("The scanner's memory differs from what was written: " + *difference_);
        {
            const std::size_t changes = plan_.steps.size() + settingsDone_;
            return Finish("Wrote " + std::to_string(changes) + (changes == 1 ? " change" : " changes") +
                          "; the scanner's memory was read back and is the same.");
        }
        case MemoryOutcome::Failed:
            return Fail("Everything was written, but reading it back failed: " + inner.message);
        case MemoryOutcome::Cancelled:
            break;
    }
    return Fail(inner.message);
}

}  // namespace quorvane
