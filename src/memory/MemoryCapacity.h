#pragma once
#include <optional>
#include <string>

#include "memory/ScannerMemory.h"

namespace quorvane {

// Whether a restore fits in the scanner's memory, checked before anything
// changes. The scanner tells only the share of its memory in use ("MEM", in
// percent); with the records read at that share, a record's share gives the
// room left (or, erasing first, the whole room). The records a restore adds
// are those of the file beyond the ones the scanner holds (all of them after
// an erase). Nothing is said when the share is unknown or 0 (no estimate:
// an append answered "-1" still stops the run).
//
// The problem, in one line, names how much is missing:
//   "The file needs about 120 more records than the scanner has room for
//    (it holds 900, about 80 more fit). Nothing was changed."
std::optional<std::string> CapacityProblem(const ScannerMemory& read, int usedPercent, const ScannerMemory& file,
                                           bool eraseFirst);

}  // namespace quorvane
