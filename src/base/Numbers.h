#pragma once
#include <optional>
#include <string_view>

namespace quorvane {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number a text starts with, read the same whatever the user's locale:
// blanks and tabs before it skipped, an optional sign, digits with an
// optional "." fraction, and an exponent ("1e3") only when digits follow it.
// Reading stops at the first character that cannot continue the number, so
// "25 ms" is 25. No number at all gives 0; a number too big for a double
// gives an infinity of its sign, one too small gives 0.
double LeadingNumber(std::string_view text);

// The nearest whole number, a value exactly between two going to the even one.
double RoundHalfToEven(double value);

// The whole text as a decimal whole number within [low, high]: digits only
// (a leading "-" where low is negative), nothing else around them; nothing
// otherwise.
std::optional<long long> WholeNumber(std::string_view text, long long low, long long high);
// The same for a number of up to 9 digits, "-" allowed: what fits an int
// whatever the digits.
inline std::optional<long long> WholeNumber(std::string_view text) { return WholeNumber(text, -999999999, 999999999); }

}  // namespace quorvane
