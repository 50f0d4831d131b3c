#pragma once
#include <string>

#include "RadioState.h"

namespace quorvane {

// The radio's answer to one command line (given without its CR), with the
// command's effect applied to state at time now. The answer is one reply line,
// also without its CR: "STS,...", "GID,...", "WIN,...", "KEY,OK", "QSH,OK",
// "PRG,OK", "EPG,OK", the memory replies and those of the programming
// commands (StoredMemory), "<NAME>,NG" for a well-formed
// command the radio cannot carry out now, and "ERR" for anything else.
std::string Respond(RadioState& state, const std::string& command, SimTime now);

// What "MDL" and "VER" answer.
inline constexpr const char* kSimModel = "BC246T";
inline constexpr const char* kSimFirmware = "Version 1.06.00";

}  // namespace quorvane
