#pragma once
#include <string>

#include "monitor/SkipList.h"
#include "tools/ListLines.h"

namespace quorvane {

// "Apply" of the auto skip list: line i of the box becomes entry i, a line
// with a "." as the scanner's frequency digits (the whole rest of the line
// is the fraction, so a trailing word spoils it), any other line word for
// word. Entry 0 is cleared first, so an empty box or an empty first line
// switches the skip off; entries past the last line keep what an earlier
// Apply put there. Returns the lines read.
ListLines ApplySkipListText(SkipList& list, const std::string& boxText);

}  // namespace quorvane
