#include "memory/MemoryReader.h"

#include <algorithm>

#include "link/Commands.h"
#include "memory/MemoryCommands.h"
#include "memory/MemoryFields.h"
#include "memory/MemorySettings.h"
#include "memory/MemoryValues.h"

namespace quorvane {
namespace {

// Link fields after the settings, counted from 0.
constexpr std::size_t kSystemNext = 1, kSystemFirstGroup = 2;
constexpr std::size_t kTrunkFirstTalkgroupGroup = 0;
constexpr std::size_t kGroupNext = 1, kGroupSystem = 2, kGroupFirstMember = 3;
constexpr std::size_t kMemberNext = 1, kMemberGroup = 3;

}  // namespace

MemoryReader::MemoryReader(ReadScope scope, bool enterProgramming)
    : scope_(std::move(scope)), enterProgramming_(enterProgramming) {}

void MemoryReader::SetExpectedRecords(std::size_t total) { Counts().recordsTotal = total; }

std::string MemoryReader::CancelMessage() const { return "Reading the scanner's memory was cancelled."; }

MemoryStep MemoryReader::Begin() {
    if (enterProgramming_) return Ask(Phase::Programming, kEnterProgramming);
    return Ask(Phase::Model, kModelRequest);
}

MemoryStep MemoryReader::Ask(Phase phase, std::string command) {
    phase_ = phase;
    return Request(std::move(command));
}

Group& MemoryReader::CurrentGroup() {
    System& system = CurrentSystem();
    return groupIsSite_ ? system.sites.back() : system.groups.back();
}

MemoryStep MemoryReader::Answer(const Reply& reply) {
    const std::string word = Word();
    if (reply[0] != word) return PassOver();
    switch (phase_) {
        case Phase::Programming:
            return Ask(Phase::Model, kModelRequest);
        case Phase::Model:
            if (reply.size() < 2) return PassOver("no model in " + ScannerText(reply[0]));
            memory_.model = reply[1];
            return Ask(Phase::Firmware, kFirmwareRequest);
        case Phase::Firmware:
            if (reply.size() < 2) return PassOver("no version in " + ScannerText(reply[0]));
            memory_.firmware = reply[1];
            for (std::size_t more = 2; more < reply.size(); ++more) memory_.firmware += "," + reply[more];
            return Ask(Phase::Head, kSystemListHead);
        case Phase::Head:
            if (reply.size() < 2) return PassOver("no index in " + ScannerText(reply[0]));
            nextSystem_ = reply[1];
            return NextSystem();
        case Phase::System:
            return OnSystem(reply);
        case Phase::Trunk: {
            std::string why;
            const std::optional<Fields> trunk = ReplySettings(TrunkLayout(), reply, &why);
            if (!trunk) return PassOver(why);
            CurrentSystem().trunk = *trunk;
            talkgroupHead_ = ReplyLink(TrunkLayout(), reply, kTrunkFirstTalkgroupGroup);
            if (HasBandPlan(CurrentSystem().type))
                return Ask(Phase::BandPlan, ReadCommand(BandPlanLayout(), CurrentSystem().index));
            return NextGroup();
        }
        case Phase::BandPlan: {
            std::string why;
            const std::optional<Fields> plan = ReplySettings(BandPlanLayout(), reply, &why);
            if (!plan) return PassOver(why);
            CurrentSystem().bandPlan = *plan;
            return NextGroup();
        }
        case Phase::Group:
            return OnGroup(reply);
        case Phase::Member:
            return OnMember(reply);
        case Phase::MemoryUsed: {
            const std::optional<long> used = reply.size() == 2 ? WholeNumber(reply[1]) : std::nullopt;
            if (!used || *used > 100) return PassOver("no share in " + ScannerText(reply[0]));
            memoryUsed_ = static_cast<int>(*used);
            return NextSetting();
        }
        case Phase::Setting:
        case Phase::GroupKeys:
        case Phase::LockedIds:
        case Phase::LockedFrequencies:
            return OnSetting(reply);
    }
    return PassOver();
}

MemoryStep MemoryReader::OnSystem(const Reply& reply) {
    std::string why;
    const std::optional<Fields> settings = ReplySettings(SystemLayout(), reply, &why);
    if (!settings) return PassOver(why);
    const std::string index = Command().substr(Command().find(',') + 1);
    const std::string& next = ReplyLink(SystemLayout(), reply, kSystemNext);
    if (next == index) return PassOver();  // the late answer about the system before
    if (!IsKnownSystemType(reply[1]))
        return PassOver("system type \"" + ScannerText(reply[1]) + "\" is not one the scanner knows");
    System system;
    system.index = index;
    system.type = reply[1];
    system.fields = *settings;
    system.groupsRead = scope_.everything || scope_.systems.count(index) > 0;
    memory_.systems.push_back(std::move(system));
    nextSystem_ = next;
    nextGroup_ = ReplyLink(SystemLayout(), reply, kSystemFirstGroup);
    talkgroupHead_ = kEndOfList;
    list_ = List::SystemGroups;
    walkedGroups_.clear();
    if (const MemoryStep counted = Counted(); counted.outcome == MemoryOutcome::Failed) return counted;
    if (!CurrentSystem().groupsRead) return NextSystem();
    if (Trunked()) return Ask(Phase::Trunk, ReadCommand(TrunkLayout(), CurrentSystem().index));
    return NextGroup();
}

MemoryStep MemoryReader::OnGroup(const Reply& reply) {
    std::string why;
    const std::optional<Fields> settings = ReplySettings(GroupLayout(), reply, &why);
    if (!settings) return PassOver(why);
    const std::string index = Command().substr(Command().find(',') + 1);
    const std::string& next = ReplyLink(GroupLayout(), reply, kGroupNext);
    const std::string& owner = ReplyLink(GroupLayout(), reply, kGroupSystem);
    if (next == index || owner != CurrentSystem().index) return PassOver();
    if (reply[1] != kChannelGroupType && reply[1] != kTalkgroupGroupType)
        return PassOver("group type \"" + ScannerText(reply[1]) + "\" is neither C nor T");
    Group group;
    group.index = index;
    group.type = reply[1];
    group.fields = *settings;
    group.membersRead = scope_.everything || scope_.groups.count(index) > 0;
    groupIsSite_ = Trunked() && group.type != kTalkgroupGroupType;
    (groupIsSite_ ? CurrentSystem().sites : CurrentSystem().groups).push_back(std::move(group));
    nextGroup_ = next;
    nextMember_ = ReplyLink(GroupLayout(), reply, kGroupFirstMember);
    walkedMembers_.clear();
    if (const MemoryStep counted = Counted(); counted.outcome == MemoryOutcome::Failed) return counted;
    if (!CurrentGroup().membersRead) return NextGroup();
    return NextMember();
}

MemoryStep MemoryReader::OnMember(const Reply& reply) {
    Group& group = CurrentGroup();
    const bool talkgroups = group.type == kTalkgroupGroupType;
    const RecordLayout& layout = talkgroups ? TalkgroupLayout() : groupIsSite_ ? TrunkFrequencyLayout() : ChannelLayout();
    std::string why;
    const std::optional<Fields> settings = ReplySettings(layout, reply, &why);
    if (!settings) return PassOver(why);
    const std::string index = Command().substr(Command().find(',') + 1);
    const std::string& next = ReplyLink(layout, reply, kMemberNext);
    if (next == index || ReplyLink(layout, reply, kMemberGroup) != group.index) return PassOver();
    if (talkgroups) group.talkgroups.push_back(Talkgroup{index, *settings});
    else if (groupIsSite_) group.frequencies.push_back(TrunkFrequency{index, *settings});
    else group.channels.push_back(Channel{index, *settings});
    nextMember_ = next;
    if (const MemoryStep counted = Counted(); counted.outcome == MemoryOutcome::Failed) return counted;
    return NextMember();
}

MemoryStep MemoryReader::Counted() {
    ++records_;
    Counts().recordsDone = records_;
    if (records_ > kMostMemoryRecords) {
        return Fail("The scanner listed more than " + std::to_string(kMostMemoryRecords) +
                    " records, so the read stopped: its memory lists may loop.");
    }
    return Current();
}

MemoryStep MemoryReader::InList(std::unordered_set<std::string>& walked, Phase phase, const std::string& word,
                                const std::string& index) {
    const std::string command = word + "," + index;
    if (!walked.insert(index).second) {
        return Fail("The scanner's memory list leads back to " + ScannerText(command) +
                    ", which was already read: the list loops, so the read stopped.");
    }
    return Ask(phase, command);
}

MemoryStep MemoryReader::NextSystem() {
    if (nextSystem_ == kEndOfList) {
        if (!scope_.settings) return Finished();
        memory_.settings.emplace();
        settingAt_ = 0;
        return Ask(Phase::MemoryUsed, kMemoryUsedRequest);
    }
    return InList(walkedSystems_, Phase::System, SystemLayout().word, nextSystem_);
}

MemoryStep MemoryReader::NextSetting() {
    const std::vector<std::string>& keys = GlobalSettingKeys();
    if (settingAt_ < keys.size()) return Ask(Phase::Setting, keys[settingAt_]);
    systemAt_ = 0;
    return NextSystemSettings();
}

MemoryStep MemoryReader::NextSystemSettings() {
    if (systemAt_ < memory_.systems.size())
        return Ask(Phase::GroupKeys, "QGL," + memory_.systems[systemAt_].index + ",");
    return Ask(Phase::LockedFrequencies, "GLF");
}

MemoryStep MemoryReader::OnSetting(const Reply& reply) {
    if (reply.size() < 2) return PassOver("no value in " + ScannerText(reply[0]));
    std::string value = reply[1];
    for (std::size_t more = 2; more < reply.size(); ++more) value += "," + reply[more];
    const std::string key = Command();
    if (const std::string why = SettingProblem(key, value); !why.empty()) return PassOver(why);
    ScannerSettings& settings = *memory_.settings;
    // A list ends at "-1", or where it gives a value again (it started over).
    const auto listed = [&](std::vector<std::string>& list) {
        if (value == kEndOfList || std::find(list.begin(), list.end(), value) != list.end()) return false;
        list.push_back(value);
        return list.size() <= kMostMemoryRecords;
    };
    switch (phase_) {
        case Phase::Setting:
            settings.values[key] = value;
            ++settingAt_;
            return NextSetting();
        case Phase::GroupKeys: {
            System& system = memory_.systems[systemAt_];
            system.groupQuickKeys = value;
            if (IsTrunkedType(system.type)) return Ask(Phase::LockedIds, "GLI," + system.index);
            ++systemAt_;
            return NextSystemSettings();
        }
        case Phase::LockedIds:
            if (listed(memory_.systems[systemAt_].lockedIds)) return Ask(Phase::LockedIds, Command());
            ++systemAt_;
            return NextSystemSettings();
        case Phase::LockedFrequencies:
            if (listed(settings.lockedFrequencies)) return Ask(Phase::LockedFrequencies, "GLF");
            return Finished();
        default:
            return PassOver();
    }
}

MemoryStep MemoryReader::Finished() {
    {
        std::size_t groups = 0, members = 0;
        for (const System& system : memory_.systems) {
            groups += system.sites.size() + system.groups.size();
            for (const auto* list : {&system.sites, &system.groups})
                for (const Group& group : *list)
                    members += group.channels.size() + group.talkgroups.size() + group.frequencies.size();
        }
        return Finish("Read " + std::to_string(memory_.systems.size()) + " systems, " + std::to_string(groups) +
                      " groups and sites, " + std::to_string(members) +
                      " channels, talkgroups and trunk frequencies" +
                      (memory_.settings ? std::string(", and the scanner's settings.") : std::string(".")));
    }
}

MemoryStep MemoryReader::NextGroup() {
    if (nextGroup_ == kEndOfList && list_ == List::SystemGroups && Trunked()) {
        // Then the talkgroup groups, which TRN lists; groups already found
        // in the system's own list are not read twice.
        list_ = List::TalkgroupGroups;
        nextGroup_ = talkgroupHead_;
    }
    while (list_ == List::TalkgroupGroups && nextGroup_ != kEndOfList && walkedGroups_.count(nextGroup_)) {
        // Listed in both: the next one of this list is unknown without
        // reading it again, so the list ends here.
        nextGroup_ = kEndOfList;
    }
    if (nextGroup_ == kEndOfList) return NextSystem();
    return InList(walkedGroups_, Phase::Group, GroupLayout().word, nextGroup_);
}

MemoryStep MemoryReader::NextMember() {
    if (nextMember_ == kEndOfList) return NextGroup();
    const Group& group = CurrentGroup();
    const RecordLayout& layout = group.type == kTalkgroupGroupType ? TalkgroupLayout()
                             : groupIsSite_                    ? TrunkFrequencyLayout()
                                                               : ChannelLayout();
    return InList(walkedMembers_, Phase::Member, layout.word, nextMember_);
}

}  // namespace quorvane
