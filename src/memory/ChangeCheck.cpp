#include "memory/ChangeCheck.h"

namespace quorvane {
namespace {

template <typename Each>
void ForEachRecord(const ScannerMemory& memory, Each each) {
    for (const System& system : memory.systems) {
        each(system.index);
        for (const auto* list : {&system.sites, &system.groups}) {
            for (const Group& group : *list) {
                each(group.index);
                for (const Channel& channel : group.channels) each(channel.index);
                for (const Talkgroup& talkgroup : group.talkgroups) each(talkgroup.index);
                for (const TrunkFrequency& frequency : group.frequencies) each(frequency.index);
            }
        }
    }
}

// The indexes of the list a make of `word` adds to, under `owner`.
std::vector<std::string> ListOf(const ScannerMemory& read, const std::string& word, const std::string& owner) {
    std::vector<std::string> list;
    if (word == "CSY") {
        for (const System& system : read.systems) list.push_back(system.index);
        return list;
    }
    for (const System& system : read.systems) {
        if ((word == "AGC" || word == "AGT") && system.index == owner) {
            for (const auto* groups : {&system.sites, &system.groups})
                for (const Group& group : *groups) list.push_back(group.index);
            return list;
        }
        for (const auto* groups : {&system.sites, &system.groups}) {
            for (const Group& group : *groups) {
                if (group.index != owner || word == "AGC" || word == "AGT") continue;
                for (const Channel& channel : group.channels) list.push_back(channel.index);
                for (const Talkgroup& talkgroup : group.talkgroups) list.push_back(talkgroup.index);
                for (const TrunkFrequency& frequency : group.frequencies) list.push_back(frequency.index);
                return list;
            }
        }
    }
    return list;
}

}  // namespace

ChangeCheck CheckOf(const std::string& command, const std::string& system, const std::string& group) {
    ChangeCheck check;
    check.command = command;
    const std::size_t comma = command.find(',');
    check.word = command.substr(0, comma);
    check.index = comma == std::string::npos || check.word == "CSY" ? "" : command.substr(comma + 1);
    check.makes = check.word == "CSY" || check.word == "AGC" || check.word == "AGT" || check.word == "ACC" ||
                  check.word == "ACT";
    check.scope.settings = false;
    check.scope.everything = false;
    // Systems and their own settings are always read; a group list needs its
    // system in scope, a member list its group too.
    if (check.word == "AGC" || check.word == "AGT") {
        check.scope.systems = {check.index};
    } else if (check.word == "ACC" || check.word == "ACT") {
        check.scope.groups = {check.index};
        if (system.empty()) check.scope.everything = true;
        else check.scope.systems = {system};
    } else if (check.word == "DGR" || check.word == "DCH") {
        if (system.empty()) check.scope.everything = true;
        else check.scope.systems = {system};
        if (check.word == "DCH") {
            if (group.empty()) check.scope.everything = true;
            else check.scope.groups = {group};
        }
    }
    return check;
}

std::vector<std::string> MadeRecords(const ChangeCheck& check, const ScannerMemory& read,
                                     const std::set<std::string>& present) {
    std::vector<std::string> made;
    for (const std::string& index : ListOf(read, check.word, check.index))
        if (!present.count(index)) made.push_back(index);
    return made;
}

bool HoldsIndex(const ScannerMemory& read, const std::string& index) {
    bool holds = false;
    ForEachRecord(read, [&](const std::string& each) { holds = holds || each == index; });
    return holds;
}

std::set<std::string> IndexesOf(const ScannerMemory& memory) {
    std::set<std::string> indexes;
    ForEachRecord(memory, [&](const std::string& each) {
        if (!each.empty()) indexes.insert(each);
    });
    return indexes;
}

}  // namespace quorvane
