#pragma once
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "Scenario.h"

namespace quorvane {

// The radio's stored programming as the programming-mode commands read and
// change it: a list of systems; each system a list of groups (a conventional
// system's channel groups, a trunked system's sites) and, when trunked, a
// list of talkgroup groups; each group a list of members (channels,
// talkgroups, or a site's trunk frequencies). Every record sits at its own
// memory index, a decimal text; the indexes are spread out (never one apart)
// and never given twice, and "-1" marks the end of a list.
//
// Replies follow the scanner's PC protocol (fields after the word):
//   SIN  type, name, quick key, hold, lockout, attenuation, delay, data skip,
//        emergency alert, previous, next, first group, last group, sequence
//   GIN  type (C/T), name, quick key, lockout, previous, next, system, first
//        member, last member, sequence
//   CIN  name, frequency, step, modulation, tone, tone lockout, lockout,
//        priority, attenuation, alert, previous, next, system, group, and an
//        empty field (the real radio ends this reply with a comma)
//   TIN  name, talkgroup ID, lockout, alert, previous, next, system, group
//   TFQ  frequency, LCN, previous, next, system, group
//   TRN  ID search, status bit, end code, AFS format, I-call, control channel
//        only, fleet map, custom fleet map, 3 x (band base, step, offset),
//        first/last talkgroup group, first/last ID lockout group
//   MCP  6 x (lower, upper, step, offset)
// A set form carries the same settings after the index; an empty field leaves
// that value. A field of the wrong form answers "ERR", an index that holds no
// such record "<word>,NG", an append to a full memory "<word>,-1".
//
// The global settings (BLT, BSV, KBP, OMS, PRI, SCO, CLC, CSG, CSP,<1-10>
// (10 also as 0), WPR, SGP,<1-5>, QSL; QGL,<system> per system) answer their
// fields when read and take the same count of fields when set, an empty
// field leaving its value. GLF answers the global frequency lockouts one a
// read, then "-1" and starts over; LOF/ULF add and remove one. GLI,<system>
// answers a trunked system's locked-out IDs the same way; LOI/ULI change
// them. CLR deletes every record and returns every setting to its default,
// as the radio's own clear does (only the baud rate stays).
//
// With firmware-made trunk groups (the real firmware's way), CSY of a
// trunked type also makes the system's frequency group (a site, first in its
// group list); without, a trunked system starts with no group.
class StoredMemory {
public:
    StoredMemory(const std::vector<StoredSystem>& systems, std::size_t capacity, bool firmwareTrunkGroups = true);

    // Index of the first system, "-1" when none is stored.
    std::string FirstSystem() const;
    // The reply (without CR) to a programming command split at its commas:
    // SIN, GIN, CIN, TIN, TFQ, TRN, MCP (read with one field, set with all),
    // CSY, AGC, AGT, ACC, ACT, DSY, DGR, DCH, CLR and MEM.
    std::string Answer(const std::vector<std::string>& command);

    // Whether a command has a field count its word allows (else "ERR").
    static bool WellFormed(const std::vector<std::string>& command);

    // Whether a command word is one of the settings above.
    static bool IsSettingWord(const std::string& word);

    std::size_t Used() const { return records_.size(); }
    std::size_t Capacity() const { return capacity_; }

private:
    enum class Kind { System, Group, Channel, Talkgroup, TrunkFrequency };
    struct Record {
        Kind kind = Kind::System;
        std::string type;             // system type, or "C"/"T" for a group
        std::vector<std::string> settings;
        std::vector<std::string> trunk;      // TRN settings (systems)
        std::vector<std::string> band_plan;  // MCP settings (systems)
        std::string owner;            // a group's system, a member's group
        std::vector<std::string> list;        // a system's groups/sites, a group's members
        std::vector<std::string> talkgroup_groups;  // a trunked system's talkgroup groups
        std::string group_quick_keys = "1111111111";  // QGL (systems)
        std::vector<std::string> locked_ids;          // GLI (trunked systems)
        std::size_t locked_id_cursor = 0;
    };

    std::string Take();
    std::string Read(const std::string& word, const std::string& index) const;
    std::string Set(const std::vector<std::string>& command);
    std::string Create(const std::vector<std::string>& command);
    std::string Delete(const std::vector<std::string>& command);
    std::string Add(Kind kind, const std::string& type, const std::string& owner);
    void Remove(const std::string& index);
    const std::vector<std::string>& ListOf(const Record& owner, const std::string& index) const;
    const Record* Find(const std::string& index, Kind kind) const;

    std::string Setting(const std::vector<std::string>& command);
    std::string Lockout(const std::vector<std::string>& command);
    void ResetSettings();

    std::map<std::string, Record> records_;
    std::map<std::string, std::string> settings_;  // key ("BLT", "CSP,3") -> fields
    std::vector<std::string> locked_frequencies_;
    std::size_t locked_frequency_cursor_ = 0;
    bool firmware_trunk_groups_;
    std::vector<std::string> systems_;
    std::size_t capacity_;
    long address_ = 12000;
    int count_ = 0;
};

}  // namespace quorvane
