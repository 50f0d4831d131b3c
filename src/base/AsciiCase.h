#pragma once
#include <string>
#include <string_view>

namespace quorvane {

// Lower case for the letters A to Z only: every other byte stays as it is,
// whatever locale the program runs under (scanner text and the names in
// settings files are bytes, not text of the user's language).
inline char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
std::string LowerAscii(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace quorvane
