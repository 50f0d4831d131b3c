#pragma once
#include "memory/MemoryJson.h"
#include "memory/ScannerMemory.h"

namespace quorvane {

// The backup file of the public bc246t Python command line program: told
// from the memory file by its "info" object (and no "model"); its
// conventional systems and the settings it keeps are read, a problem thrown
// as a memory_json::FileProblem.
bool IsCliBackup(const memory_json::Json& top);
ScannerMemory ReadCliBackup(const memory_json::Json& top);

}  // namespace quorvane
