#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "memory/ScannerMemory.h"

namespace quorvane {

// The channels of a memory as CSV for a spreadsheet, and back: RFC 4180,
// UTF-8, comma-separated, one header row, CR LF line ends.
//
// Columns (the header names them; the memory file's keys): system, group,
// name, frequency, step, modulation, tone, toneLockout, lockout, priority,
// attenuation, alert. Names are the memory file's text (ScannerText),
// frequencies MHz text ("154.4300"), flags true/false, the rest as the
// memory file has them; an empty cell is the scanner's default.
//
// A spreadsheet runs a cell that starts with "=", "+", "-" or "@" as a
// formula, so such a cell is written with a "'" in front; reading takes that
// "'" off again.

// Every channel of every conventional system, in tree order.
std::string WriteChannelsCsv(const ScannerMemory& memory);

// Where channels without a system and group go: a group of a conventional
// system, by its place in the lists (from 0).
struct GroupAt {
    std::size_t system = 0;
    std::size_t group = 0;
};

struct ChannelImport {
    ScannerMemory memory;      // the memory with the channels imported
    std::size_t channels = 0;  // rows imported
    std::size_t groups = 0;    // groups whose channels they are now
};

// Reads CSV into a copy of `into`. The rules:
//  - the header row names the columns, in any order and case; "name" and
//    "frequency" are needed, any other column of the list above may be
//    left out, an unknown one is refused (a misspelt setting is not lost
//    silently). A byte order mark is ignored, empty lines are skipped;
//  - a row goes to the group its "system" and "group" cells name: the first
//    conventional system and its first group of those names (trailing
//    blanks ignored), each made at the end of its list when there is none;
//    a row whose two cells are empty (or a file without those columns)
//    goes to `selected`;
//  - every group that gets rows holds exactly those rows afterwards, in the
//    file's order: its channels are replaced, so a file exported, edited
//    and read back gives the edited channels. Groups the file does not name
//    are left as they are;
//  - all or nothing: on the first problem nothing is imported and *problem
//    says `<fileName>: line N: <column> <what is wrong>`; every cell is
//    checked by the memory file's rules (FieldProblem).
std::optional<ChannelImport> ReadChannelsCsv(const ScannerMemory& into, std::string_view text,
                                             const std::string& fileName, std::optional<GroupAt> selected,
                                             std::string* problem);

}  // namespace quorvane
