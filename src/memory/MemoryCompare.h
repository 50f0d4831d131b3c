#pragma once
#include <optional>
#include <string>

#include "memory/ScannerMemory.h"

namespace quorvane {

// The first difference between the memory expected (a file, an edited tree)
// and the one read back from the scanner, in tree order, as one line:
//   system 2 "County" group 1 "Fire" channel 3 "Disp": frequency 154.4300 != 154.4250
//   system 2 "County" group 1 "Fire": channel 4 "Tac" is missing
//   system 2 "County": extra group 3 "Old"
// (expected value first). Nothing when they are the same. Values compare as
// settings (SameValue): a value the expected memory leaves empty is not
// compared, names ignore trailing blanks. Indexes, the model and the firmware
// are not compared; nor are the parts a partial read left out (groupsRead,
// membersRead of the read memory).
std::optional<std::string> FirstDifference(const ScannerMemory& expected, const ScannerMemory& actual);

}  // namespace quorvane
