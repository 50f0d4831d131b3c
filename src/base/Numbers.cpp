#include "base/Numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace quorvane {
namespace {

// Length of the run of digits starting at text[at].
std::size_t DigitRun(std::string_view text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && IsDigit(text[end])) ++end;
    return end - at;
}

}  // namespace

double LeadingNumber(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';

    const std::size_t start = at;
    const std::size_t whole = DigitRun(text, at);
    at += whole;
    std::size_t fraction = 0;
    if (at < text.size() && text[at] == '.') {
        fraction = DigitRun(text, at + 1);
        at += 1 + fraction;
    }
    if (whole == 0 && fraction == 0) return 0.0;
    bool exponentNegative = false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t digitsAt = at + 1;
        if (digitsAt < text.size() && (text[digitsAt] == '+' || text[digitsAt] == '-')) {
            exponentNegative = text[digitsAt++] == '-';
        }
        const std::size_t exponent = DigitRun(text, digitsAt);
        if (exponent > 0) at = digitsAt + exponent;
    }

    // std::from_chars ignores the locale (the window sets one whose decimal
    // mark may be ",").
    const std::string number(text.substr(start, at - start));
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        value = exponentNegative ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (error != std::errc() || end != number.data() + number.size()) {
        return 0.0;
    }
    return negative ? -value : value;
}

double RoundHalfToEven(double value) {
    const double below = std::floor(value);
    const double rest = value - below;
    if (rest > 0.5) return below + 1;
    if (rest < 0.5) return below;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

std::optional<long long> WholeNumber(std::string_view text, long long low, long long high) {
    if (text.empty() || text.front() == '+' || (text.front() == '-' && low >= 0)) return std::nullopt;
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace quorvane
