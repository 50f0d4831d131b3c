#pragma once
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quorvane {

// The scanner's stored programming, as the programming-mode commands read
// and set it: systems, their groups, and the groups' channels (conventional
// systems), talkgroups (trunked systems) or trunk frequencies (a trunked
// system's sites).
//
// Every value is kept as the scanner's own field text (8-bit bytes), in the
// order of the command that sets it, so a record read from the scanner goes
// back unchanged. An empty value is the scanner's "not used by this type" and,
// in a set command, "leave as it is"; a record made from a file with a value
// left out gets the scanner's default for it.
//
// Beside each record is the scanner's own memory index (empty for a record
// that is not on the scanner yet): the write planner finds with it which
// records of an edited tree are the ones read, and commands go back with the
// index exactly as the scanner gave it. The file does not hold indexes.

using Fields = std::vector<std::string>;

// Field positions of each record, in the order of its set command (after the
// index). The same order is the reply's, from field 1 (2 for SIN and GIN,
// whose field 1 is the type).
namespace system_field {
enum : std::size_t { Name, QuickKey, HoldTime, Lockout, Attenuation, DelayTime, DataSkip, EmergencyAlert, Count };
}
namespace trunk_field {  // TRN: six flags, the fleet maps, three bands of base, step, offset
enum : std::size_t {
    IdSearch, StatusBit, EndCode, AfsFormat, ICall, ControlChannelOnly, FleetMap, CustomFleetMap,
    FirstBand, Count = FirstBand + 9
};
}
namespace band_plan_field {  // MCP: six ranges of lower, upper, step, offset
enum : std::size_t { Count = 24 };
}
namespace group_field {
enum : std::size_t { Name, QuickKey, Lockout, Count };
}
namespace channel_field {
enum : std::size_t { Name, Frequency, Step, Modulation, Tone, ToneLockout, Lockout, Priority, Attenuation, Alert, Count };
}
namespace talkgroup_field {
enum : std::size_t { Name, Tgid, Lockout, Alert, Count };
}
namespace trunk_frequency_field {
enum : std::size_t { Frequency, Lcn, Count };
}

struct Channel {
    std::string index;
    Fields fields = Fields(channel_field::Count);

    bool operator==(const Channel&) const = default;
};

struct Talkgroup {
    std::string index;
    Fields fields = Fields(talkgroup_field::Count);

    bool operator==(const Talkgroup&) const = default;
};

// A frequency of a trunked system (TFQ), held in one of its sites.
struct TrunkFrequency {
    std::string index;
    Fields fields = Fields(trunk_frequency_field::Count);

    bool operator==(const TrunkFrequency&) const = default;
};

inline constexpr const char* kChannelGroupType = "C";
inline constexpr const char* kTalkgroupGroupType = "T";

// A group (GIN). In a conventional system it holds channels; in a trunked
// system a talkgroup group ("T") holds talkgroups and a site (a channel-type
// group in the system's own group list) holds the trunk frequencies.
struct Group {
    std::string index;
    std::string type = kChannelGroupType;  // GIN field 1: "C" or "T"
    Fields fields = Fields(group_field::Count);
    std::vector<Channel> channels;
    std::vector<Talkgroup> talkgroups;
    std::vector<TrunkFrequency> frequencies;
    // False when a partial read left the members out (they were not compared).
    bool membersRead = true;

    bool operator==(const Group&) const = default;
};

struct System {
    std::string index;
    std::string type;  // the protocol's system type: "CNV", "M82S", ...
    Fields fields = Fields(system_field::Count);
    Fields trunk = Fields(trunk_field::Count);          // trunked systems only
    Fields bandPlan = Fields(band_plan_field::Count);   // custom band plan types only
    std::vector<Group> sites;   // trunked: the groups holding trunk frequencies
    std::vector<Group> groups;  // conventional: channel groups; trunked: talkgroup groups
    // False when a partial read left the groups and sites out.
    bool groupsRead = true;
    // The group quick keys switched on (QGL: ten 0/1 digits) and the locked-out
    // IDs of a trunked system (GLI, set with LOI); both only where the memory
    // holds the scanner's settings (ScannerMemory::settings).
    std::string groupQuickKeys;
    std::vector<std::string> lockedIds;

    bool operator==(const System&) const = default;
};

// The scanner's global settings, each kept as the fields of its reply after
// the command (and its number, for CSP and SGP), so the set command is
// "<key>,<value>": "BLT" -> "AF", "CSP,3" -> "SRCH 3,...". Plus the global
// frequency lockouts (GLF, set with LOF) as 8-digit frequencies.
struct ScannerSettings {
    std::map<std::string, std::string> values;
    std::vector<std::string> lockedFrequencies;
    // False where the source held no lockout list (another program's file):
    // the scanner's lockouts are then left as they are.
    bool lockoutsKnown = true;

    bool operator==(const ScannerSettings&) const = default;
};

struct ScannerMemory {
    std::string model;
    std::string firmware;
    std::vector<System> systems;
    // Nothing for a file of the first version, which held no settings: a
    // restore of it leaves the scanner's settings as they are.
    std::optional<ScannerSettings> settings;

    bool operator==(const ScannerMemory&) const = default;
};

inline constexpr const char* kConventionalType = "CNV";
inline constexpr const char* kScannerModel = "BC246T";

// The system types the scanner knows ("CNV" and the trunked types).
const std::vector<std::string>& SystemTypes();
bool IsKnownSystemType(const std::string& type);
bool IsTrunkedType(const std::string& type);
// Motorola custom types, which carry a band plan (MCP).
bool HasBandPlan(const std::string& type);

// Systems, groups, sites, channels, talkgroups and trunk frequencies, all
// counted as one record each (the progress counts of a read or a write).
std::size_t RecordCount(const ScannerMemory& memory);

// The same memory without any scanner index (as a file holds it).
ScannerMemory WithoutIndexes(ScannerMemory memory);

}  // namespace quorvane
