#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Trim.h"

namespace quorvane {

// Splits at every separator: n separators give n + 1 pieces, empty pieces kept.
std::vector<std::string> SplitFields(std::string_view text, char separator);
// The same, at every occurrence of a multi-byte separator such as "\r\n".
std::vector<std::string> SplitFields(std::string_view text, std::string_view separator);

// Removes every occurrence of what from text.
std::string RemoveAll(std::string text, std::string_view what);
// Replaces every occurrence of what by with.
std::string ReplaceAll(std::string text, std::string_view what, std::string_view with);
bool Contains(std::string_view text, std::string_view what);
bool StartsWith(std::string_view text, std::string_view prefix);
// "%40" and the like as their bytes (an address's user, password or path);
// nothing when a "%" is not followed by two hex digits, or stands for NUL.
std::optional<std::string> PercentDecoded(std::string_view text);

}  // namespace quorvane
