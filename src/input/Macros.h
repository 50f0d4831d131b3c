#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "input/Step.h"

namespace quorvane {

// A macro plays at most this many commands; a longer one is refused whole.
inline constexpr std::size_t kMacroMaxCommands = 200;
// Pause after every command of a macro, the last one included.
inline constexpr int kMacroCommandSpacingMs = 100;

struct MacroExpansion {
    std::vector<std::string> commands;  // empty when refused
    std::string error;                  // empty unless refused

    bool Refused() const { return !error.empty(); }
};

// The commands of a macro text: the text split at every single space
// (consecutive spaces give empty tokens, a leading or trailing space an
// empty first or last token), each token t giving "KEY," + t. An empty text
// gives no commands. Tokens are not checked: the scanner judges them.
// macroNumber (1..3) names the macro in the refusal message; 0 leaves it out.
MacroExpansion ExpandMacro(std::string_view text, int macroNumber = 0);

// "Macro 2 is too long: 201 commands (at most 200)."
std::string MacroTooLongMessage(int macroNumber, std::size_t commandCount);

// Each command followed by the macro spacing wait.
std::vector<Step> MacroSteps(const std::vector<std::string>& commands);

// The text as written to the macro settings file: every double quote removed.
std::string MacroTextForSaving(std::string_view text);

}  // namespace quorvane
