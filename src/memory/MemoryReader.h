#pragma once
#include <cstddef>
#include <set>
#include <string>
#include <unordered_set>

#include "memory/MemoryEngine.h"
#include "memory/ScannerMemory.h"

namespace quorvane {

// What a read covers. The model, the firmware and every system's own
// settings (SIN) are always read; a system's trunk settings, band plan,
// sites and groups only when the system is in scope, and a group's members
// only when the group is.
struct ReadScope {
    bool everything = true;
    std::set<std::string> systems;  // indexes of the systems read in full
    std::set<std::string> groups;   // indexes of the groups whose members are read
    bool settings = true;           // the global settings, quick keys and lockouts too
};

// The most records a read collects before it takes the memory for a loop.
inline constexpr std::size_t kMostMemoryRecords = 20000;

// Reads the scanner's memory (the backup, and the read-back of a write).
//
// Command order: "PRG" (unless the caller is in Program Mode already),
// "MDL", "VER", "SIH", then for each system "SIN,<index>"; for a trunked
// system in scope "TRN,<index>" and, for a custom band plan type,
// "MCP,<index>"; then each group of the system's list (SIN field 12 first,
// GIN field 6 next) with "GIN,<index>" and its members ("CIN," for a
// conventional system's groups, "TFQ," for a trunked system's sites, "TIN,"
// for talkgroup groups; GIN field 8 first, field 12 / 6 / 4 next); for a
// trunked system then the talkgroup groups of TRN field 18 not listed yet.
// "-1" ends each list; indexes go back as received. Then, when the scope
// has the settings: "MEM" (the share of the memory in use), each of
// GlobalSettingKeys(), "QGL,<index>," of every
// system, "GLI,<index>" of every trunked system again and again until it
// answers "-1", and "GLF" the same way (a value given twice also ends the
// list, so a list that starts over cannot loop).
//
// A reply is the answer when it has the command's word and every field, its
// settings have their kinds' forms, its record type is one the scanner has, its owner index (GIN's system, a member's
// group) is the one being read, and its next index is not the index asked
// for (that reply answers the item before it, late). A list that leads back
// to an index already read, or more than kMostMemoryRecords records, ends the
// read as failed.
class MemoryReader : public MemoryEngine {
public:
    explicit MemoryReader(ReadScope scope = {}, bool enterProgramming = true);

    // The memory read, complete once the run has Finished; systems, groups
    // and members carry their scanner indexes.
    const ScannerMemory& Result() const { return memory_; }
    // The share of the memory in use in percent ("MEM"), -1 when not read.
    int MemoryUsedPercent() const { return memoryUsed_; }
    // The record count the progress shows as total (0: unknown).
    void SetExpectedRecords(std::size_t total);

protected:
    MemoryStep Begin() override;
    MemoryStep Answer(const Reply& reply) override;
    std::string CancelMessage() const override;

private:
    enum class Phase {
        Programming, Model, Firmware, Head, System, Trunk, BandPlan, Group, Member,
        MemoryUsed, Setting, GroupKeys, LockedIds, LockedFrequencies
    };
    enum class List { SystemGroups, TalkgroupGroups };

    MemoryStep Ask(Phase phase, std::string command);
    MemoryStep InList(std::unordered_set<std::string>& walked, Phase phase, const std::string& word,
                      const std::string& index);
    MemoryStep NextSystem();
    MemoryStep NextGroup();
    MemoryStep NextMember();
    MemoryStep OnSystem(const Reply& reply);
    MemoryStep OnGroup(const Reply& reply);
    MemoryStep OnMember(const Reply& reply);
    MemoryStep Counted();
    MemoryStep Finished();
    MemoryStep NextSetting();
    MemoryStep NextSystemSettings();
    MemoryStep OnSetting(const Reply& reply);
    System& CurrentSystem() { return memory_.systems.back(); }
    Group& CurrentGroup();
    bool Trunked() { return IsTrunkedType(CurrentSystem().type); }

    ReadScope scope_;
    bool enterProgramming_;
    Phase phase_ = Phase::Programming;
    ScannerMemory memory_;
    std::string nextSystem_;
    std::string nextGroup_;
    std::string nextMember_;
    std::string talkgroupHead_;  // TRN field 18 of the current system
    List list_ = List::SystemGroups;
    bool groupIsSite_ = false;
    std::unordered_set<std::string> walkedSystems_;
    std::unordered_set<std::string> walkedGroups_;   // of the current system, both lists
    std::unordered_set<std::string> walkedMembers_;  // of the current group
    std::size_t records_ = 0;
    std::size_t settingAt_ = 0;  // next of GlobalSettingKeys()
    int memoryUsed_ = -1;
    std::size_t systemAt_ = 0;   // system whose quick keys or IDs are read
};

}  // namespace quorvane
