#include "base/Trim.h"

namespace quorvane {

std::string_view Trimmed(std::string_view text, std::string_view blanks) {
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string TrimBlanks(std::string_view text) { return std::string(Trimmed(text, " ")); }

std::string TrimTrailing(std::string_view text) {
    return std::string(text.substr(0, text.find_last_not_of(' ') + 1));
}

}  // namespace quorvane
