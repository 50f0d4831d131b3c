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

// The first group of the conventional system named name (trailing blanks
// ignored), or of the first conventional system when name is empty; nothing,
// and *problem says why, when there is none or it has no group.
std::optional<GroupAt> ConventionalGroup(const ScannerMemory& memory, const std::string& name, std::string* problem);

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
//
// The frequency tables radio-listener databases export are read too, told by
// their "Alpha Tag" column: Frequency (or Frequency Output) in MHz, Tone (or
// PL Tone) as they write it ("CSQ", "67.0 PL", "D023", "023 DPL"), Alpha Tag
// as the name, Mode (FM, NFM, FMN, AM) and Tag; Description, Frequency
// Input, FCC Callsign, Agency/Category and Class Station Use are not stored.
// Their rows go into the system of `selected`, a conventional one: into the
// group their Tag names (made at the end when there is none), or `selected`
// itself when the Tag is empty. A tone, mode or other value the scanner does
// not take stops the import with a message naming the row.
std::optional<ChannelImport> ReadChannelsCsv(const ScannerMemory& into, std::string_view text,
                                             const std::string& fileName, std::optional<GroupAt> selected,
                                             std::string* problem);

}  // namespace quorvane
