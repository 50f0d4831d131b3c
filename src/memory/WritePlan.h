#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "memory/MemoryFields.h"
#include "memory/ScannerMemory.h"

namespace quorvane {

// The commands that turn the memory read from the scanner into an edited
// one, fewest first.
//
// The scanner has no command to move or insert a record: appends go to the
// end of a list (CSY, AGC/AGT, ACC/ACT), any record can be deleted (DSY,
// DGR, DCH) and any record's settings can be set (SIN, TRN, MCP, GIN, CIN,
// TIN, TFQ; an empty field leaves its value). So each list of the edited
// tree (the systems, a system's sites and groups, a group's members) becomes:
// some of the records already there, kept in their order, each set to the
// content of an edited record at the same place (nothing to send when it
// already holds it), then new records appended in order; every other record
// of the list is deleted. Which records are kept is chosen for the fewest
// commands (one per delete, one per set that changes anything, one per
// append plus its set): a rename is one set, a delete one delete, a new
// record at the end an append and a set; a record moved up a list is
// usually cheapest as sets that shift the contents of the records between,
// a move to another list as a delete and an append with its set. Of two
// choices with as many commands, the one that keeps more records in their
// own place (the same index) is taken. A record keeps its kind: a system its
// type (CSY), a group channels or talkgroups.
//
// Edited records are matched to the read ones by their scanner index only
// as a tie-break; a record without an index is new. Deletes go first (they
// free memory), then the sets and appends in tree order.

// A record the plan refers to: on the scanner already (index), or made by
// an earlier append of the plan (created, counted from 0).
struct PlanRef {
    std::string index;
    int created = -1;
};

enum class PlanAction {
    Clear,          // CLR: the whole memory
    CreateSystem,   // CSY,<type>            -> the new system
    AppendGroup,    // AGC/AGT,<system>     -> the new group or site
    AppendMember,   // ACC/ACT,<group>      -> the new channel, talkgroup or trunk frequency
    Set,            // <layout word>,<target>,<fields>
    DeleteSystem,   // DSY,<target>
    DeleteGroup,    // DGR,<target>
    DeleteMember,   // DCH,<target>
};

// Where a record sits in the edited tree: system, then site or group, then member.
struct TreePlace {
    std::size_t system = 0;
    bool site = false;
    std::size_t group = npos;   // npos: the system itself
    std::size_t member = npos;  // npos: the group itself
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
};

struct PlanStep {
    PlanAction action = PlanAction::Set;
    PlanRef target;     // Set, Delete*: the record; CreateSystem, Append*: the new record (created)
    PlanRef parent;     // Append*: the system or group appended to
    PlanRef system;     // the system the record lies in (the read-back reads it again)
    PlanRef group;      // the group the record lies in, when it is a group or a member
    const RecordLayout* layout = nullptr;  // Set: the record kind
    Fields fields;      // Set: every field of the kind, empty where it stays
    std::string type;   // CreateSystem: the system type
    bool talkgroup = false;  // AppendGroup: AGT; AppendMember: ACT
    TreePlace place;    // CreateSystem, Append*, Set: the record in the edited tree
};

struct WritePlan {
    std::vector<PlanStep> steps;
    int created = 0;  // records the plan makes
    // The edited memory; the runner fills in the indexes of new records.
    ScannerMemory target;
    // The memory as read before (nothing after a "CLR"): the runner sets the
    // settings of `target` that differ from it (SettingCommands) once every
    // record is in place.
    ScannerMemory read;
};

// The plan from the memory as read (with its indexes) to the edited one.
// The edited memory is expected to be valid (ValidateMemory).
WritePlan PlanWrite(const ScannerMemory& read, const ScannerMemory& edited);
// The plan of a whole restore: "CLR", then every record of the memory (and
// every setting the memory holds, as CLR returned them all to defaults).
WritePlan PlanRestore(const ScannerMemory& memory);

// Whether running the plan would change nothing: no step, and no setting
// (SettingCommands) that differs from the memory read.
bool WritesNothing(const WritePlan& plan);

// The command of each step, new records named "#1", "#2", ... in the order
// the plan makes them (for tests and logs).
std::vector<std::string> PlanCommands(const WritePlan& plan);

}  // namespace quorvane
