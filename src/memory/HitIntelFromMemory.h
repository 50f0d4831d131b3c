#pragma once
#include <string>

#include "memory/ScannerMemory.h"

namespace quorvane {

// The bytes of hit_intel.txt for a memory tree, as the harvest would write
// them after reading the same memory from the scanner: one line per channel
// of every channel group, "frequency digits TAB channel TAB group TAB system"
// with CR LF, the last channel of the walk first, then an empty line.
// Talkgroups and trunk frequencies are not channels and are left out, as the
// harvest's walk does not list them either.
std::string HitIntelFromMemory(const ScannerMemory& memory);

}  // namespace quorvane
