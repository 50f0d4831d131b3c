#pragma once
#include <string>
#include <string_view>

namespace quorvane {

// The text without the given blanks at either end (a view into text).
std::string_view Trimmed(std::string_view text, std::string_view blanks = " \t");
// Leading and trailing spaces removed (scanner text pads with spaces only).
std::string TrimBlanks(std::string_view text);
// Trailing spaces removed, leading ones kept.
std::string TrimTrailing(std::string_view text);

}  // namespace quorvane
