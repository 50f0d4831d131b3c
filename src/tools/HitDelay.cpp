#include "tools/HitDelay.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace quorvane {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the run of digits starting at text[at].
std::size_t DigitRun(std::string_view text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && IsDigit(text[end])) ++end;
    return end - at;
}

// Nearest whole number, a value exactly between two going to the even one.
double RoundHalfToEven(double value) {
    const double below = std::floor(value);
    const double rest = value - below;
    if (rest > 0.5) return below + 1;
    if (rest < 0.5) return below;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

long long Saturated(double value) {
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    constexpr double kLimit = 9223372036854775808.0;
    if (std::isnan(value)) return 0;
    if (value >= kLimit) return std::numeric_limits<long long>::max();
    if (value <= -kLimit) return std::numeric_limits<long long>::min();
    return static_cast<long long>(value);
}

}  // namespace

long long HitDelayFromText(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;

    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }

    // The number proper: digits, then "." and digits, then an exponent that
    // counts only when digits follow it. std::from_chars reads it without
    // regard to the user's locale (the window sets one whose decimal point
    // may not be ".").
    const std::size_t start = at;
    const std::size_t whole = DigitRun(text, at);
    at += whole;
    std::size_t fraction = 0;
    if (at < text.size() && text[at] == '.') {
        fraction = DigitRun(text, at + 1);
        at += 1 + fraction;
    }
    if (whole == 0 && fraction == 0) return 0;
    bool exponentNegative = false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t digitsAt = at + 1;
        if (digitsAt < text.size() && (text[digitsAt] == '+' || text[digitsAt] == '-')) {
            exponentNegative = text[digitsAt] == '-';
            ++digitsAt;
        }
        const std::size_t exponent = DigitRun(text, digitsAt);
        if (exponent > 0) at = digitsAt + exponent;
    }

    const std::string number(text.substr(start, at - start));
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        value = exponentNegative ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (error != std::errc() || end != number.data() + number.size()) {
        return 0;
    }
    return Saturated(RoundHalfToEven(negative ? -value : value));
}

bool IsUsableHitDelay(long long milliseconds) {
    return milliseconds >= kHitDelayMin && milliseconds <= kHitDelayMax;
}

}  // namespace quorvane
