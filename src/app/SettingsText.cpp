#include "app/SettingsText.h"

#include <charconv>
#include <cmath>

#include "base/Fields.h"

namespace quorvane {

std::optional<int> AsSmallInteger(double value) {
    const double rounded = std::nearbyint(value);  // default rounding: half to even
    if (!std::isfinite(rounded) || rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
    return static_cast<int>(rounded);
}

std::vector<std::string> SettingsLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string current;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(current));
            current.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            current += c;
        }
    }
    if (!current.empty()) lines.push_back(std::move(current));
    return lines;
}

std::string UnquotedText(std::string_view line) { return RemoveAll(std::string(line), "\""); }

std::string NumberLine(double value) {
    char buffer[400];  // room for any double in fixed point
    // Never in exponent form, which a reader of the leading number would cut
    // short: fixed point, trailing zeros dropped; a decimal point whatever
    // the user's locale.
    const int decimals = value == std::floor(value) && std::fabs(value) < 1e15 ? 0 : 7;
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string text(buffer, written.ec == std::errc() ? written.ptr : buffer);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') text.pop_back();
    }
    if (text == "-0") text = "0";
    return text + "\r\n";
}

std::string TextLine(std::string_view text) { return "\"" + std::string(text) + "\"\r\n"; }

}  // namespace quorvane
