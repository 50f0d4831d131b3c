#include "input/Macros.h"

#include <algorithm>

#include "base/Fields.h"

namespace quorvane {

MacroExpansion ExpandMacro(std::string_view text, int macroNumber) {
    MacroExpansion result;
    if (text.empty()) return result;
    // Count first so that a huge text is refused without building its tokens.
    const std::size_t tokens = static_cast<std::size_t>(std::count(text.begin(), text.end(), ' ')) + 1;
    if (tokens > kMacroMaxCommands) {
        result.error = MacroTooLongMessage(macroNumber, tokens);
        return result;
    }
    for (std::string& token : SplitFields(text, ' ')) {
        result.commands.push_back("KEY," + token);
    }
    return result;
}

std::string MacroTooLongMessage(int macroNumber, std::size_t commandCount) {
    const std::string which = macroNumber > 0 ? "Macro " + std::to_string(macroNumber) : "The macro";
    return which + " is too long: " + std::to_string(commandCount) + " commands (at most " +
           std::to_string(kMacroMaxCommands) + ").";
}

std::vector<Step> MacroSteps(const std::vector<std::string>& commands) {
    std::vector<Step> steps;
    steps.reserve(commands.size() * 2);
    for (const std::string& command : commands) {
        steps.push_back(Step::Send(command));
        steps.push_back(Step::Wait(kMacroCommandSpacingMs));
    }
    return steps;
}

std::string MacroTextForSaving(std::string_view text) {
    return RemoveAll(std::string(text), "\"");
}

}  // namespace quorvane
