#pragma once
#include <string>

#include "RadioState.h"

namespace quorvane {

// The radio's answer to one command line (given without its CR), with the
// command's effect applied to state at time now. The answer is one reply line,
// also without its CR: "STS,...", "GID,...", "WIN,...", "KEY,OK", "QSH,OK",
// "PRG,OK", "EPG,OK", the memory replies, "<NAME>,NG" for a well-formed
// command the radio cannot carry out now, and "ERR" for anything else.
std::string Respond(RadioState& state, const std::string& command, SimTime now);

}  // namespace quorvane
