#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "memory/ScannerMemory.h"

namespace quorvane {

// The memory file: one scanner's memory as JSON text (UTF-8), described by
// data/quorvane-memory.schema.json.
//
//   {"model": "BC246T", "firmware": "...", "systems": [
//     {"name": "...", "type": "CNV", <settings>, "groups": [
//       {"name": "...", <settings>, "channels": [
//         {"name": "...", "frequency": "154.4300", <settings>}]}]},
//     {"name": "...", "type": "M82S", <settings>, "trunk": {<settings>, "bands": [...]},
//      "sites": [{"name": "...", <settings>, "frequencies": [{"frequency": "851.0125", "lcn": 1}]}],
//      "groups": [{"name": "...", <settings>, "talkgroups": [{"name": "...", "tgid": "12345"}]}]}]}
//
// Each setting has the key of its FieldRule; flags are true/false, numbers
// whole numbers, frequencies MHz text with up to 4 decimals (written with 4),
// quick keys "." or "0".."9", names and other texts ScannerText. A setting
// that is left out or null is the scanner's default ("not used" when read
// from the scanner). Unknown keys are refused, so a misspelt setting is not
// silently lost; "$schema" may name the schema at the top.

// Reads file text. On the first problem returns nothing and sets *problem
// to one line: `<fileName>: <place>: <what is wrong>`.
std::optional<ScannerMemory> ReadMemoryJson(std::string_view text, const std::string& fileName,
                                            std::string* problem);

// The file text of a memory (indexes are not written), two-space indented,
// ending in a line feed. Values that are empty are left out, names never.
std::string WriteMemoryJson(const ScannerMemory& memory);

}  // namespace quorvane
