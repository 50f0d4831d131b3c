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

// Every problem of a memory that is to be written to the scanner, in file
// order, one line each: `<fileName>: <place>: <field> <problem>`, e.g.
// `county.json: system 2 "County" group 1 "Fire" channel 3 "Disp": frequency
// 600.0000 is outside the scanner's bands (...)`. Empty when there is none.
// Checks: the model is BC246T, at most kMostSystems systems, known system
// types, the records each type holds (channels in conventional groups,
// talkgroups in trunked ones, sites, trunk settings and band plans only
// where the type has them), and every field by FieldProblem.
std::vector<std::string> ValidateMemory(const ScannerMemory& memory, const std::string& fileName);

}  // namespace quorvane
