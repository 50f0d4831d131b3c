#pragma once
#include <string>
#include <vector>

#include "memory/MemoryFields.h"
#include "memory/ScannerMemory.h"

namespace quorvane {

// The most systems the scanner stores.
inline constexpr std::size_t kMostSystems = 200;
inline constexpr std::size_t kLongestName = 16;

// What is wrong with one value of a field, as the Memory tab checks a cell
// while it is typed: empty when the scanner takes it, else the value and
// the rule, e.g. `"Fire,EMS" holds a comma, which the scanner's commands
// cannot carry`. An empty value is fine (the scanner's default) except for
// required fields (frequency, talkgroup ID).
std::string FieldProblem(const FieldRule& field, const std::string& value);

// The same for the values whose rule depends on the system type or that
// are not fields of a record; each empty when the scanner takes the value.
//
// A system's group quick keys as QGL reads and sets them: ten digits, 0 off
// or 1 on, for the keys 1-9 then 0 (empty: left as they are).
std::string GroupQuickKeysProblem(const std::string& keys);
// One locked-out ID of a trunked system of `type`, as LOI takes it: a
// talkgroup ID in the type's form (Motorola: decimal up to 65535; EDACS:
// decimal up to 2047 or agency-fleet-subfleet "AA-FFS"; LTR: "AHHUUU").
std::string LockedIdProblem(const std::string& type, const std::string& id);
// The LCN of a trunk frequency in a system of `type` (TFQ): 0-30 for EDACS
// (wide, narrow) and LTR; the other types ignore it.
std::string LcnProblem(const std::string& type, const std::string& lcn);

// Every problem of a memory that is to be written to the scanner, in file
// order, one line each: `<fileName>: <place>: <field> <problem>`, e.g.
// `county.json: system 2 "County" group 1 "Fire" channel 3 "Disp": frequency
// 600.0000 is outside the scanner's bands (...)`. Empty when there is none.
// Checks: the model is BC246T, at most kMostSystems systems, known system
// types, the records each type holds (channels in conventional groups,
// talkgroups in trunked ones, sites, trunk settings and band plans only
// where the type has them), every field by FieldProblem (LCNs by
// LcnProblem), group quick keys and locked-out IDs (trunked systems only).
std::vector<std::string> ValidateMemory(const ScannerMemory& memory, const std::string& fileName);

}  // namespace quorvane
