#pragma once
#include <string>
#include <vector>

#include "memory/ScannerMemory.h"

namespace quorvane {

// The scanner's global settings as the memory file and the restore handle
// them. Each is read in Program Mode with its key ("BLT", "CSP,3") and set
// with "<key>,<value>"; CLR returns every one to its default (only the baud
// rate stays), so a backup reads them all and a restore writes back those
// that differ.
//
// Custom search range 10 goes as "CSP,0", as the scanner numbers its keys.

// The keys read for the global settings, in the order they are read.
const std::vector<std::string>& GlobalSettingKeys();

// What is wrong with a setting's value (a control byte, which no reply
// holds); empty when nothing is. The field counts are the scanner's own and
// are taken as they come.
std::string SettingProblem(const std::string& key, const std::string& value);

// The commands that make the scanner's settings those of `target`, given the
// memory read from it before (`read`; no settings read: every setting of
// `target` is sent). The systems of `target` must carry their scanner
// indexes; a system's quick keys and locked IDs are compared with the read
// system of the same index. Nothing when `target` holds no settings.
//   "BLT,AO", "QSL,1101000000", "QGL,<system>,<bits>", "ULI,<system>,<id>",
//   "LOI,<system>,<id>", "ULF,<frequency>", "LOF,<frequency>"
std::vector<std::string> SettingCommands(const ScannerMemory& read, const ScannerMemory& target);

}  // namespace quorvane
