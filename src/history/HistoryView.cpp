#include "history/HistoryView.h"

#include <charconv>
#include <optional>

#include "base/Fields.h"
#include "base/Numbers.h"

namespace quorvane {
namespace {

std::optional<int> Whole(std::string_view text, int low, int high) {
    text = text.substr(0, text.find_last_not_of(" \r") + 1);
    const std::optional<long long> value = WholeNumber(text, low, high);
    if (!value) return std::nullopt;
    return static_cast<int>(*value);
}

}  // namespace

CountAxis CountAxisFor(std::int64_t highest, int maxIntervals) {
    if (maxIntervals < 1) maxIntervals = 1;
    if (highest < 1) highest = 1;
    for (std::int64_t power = 1;; power *= 10) {
        for (const std::int64_t factor : {1, 2, 5}) {
            const std::int64_t step = factor * power;
            const std::int64_t intervals = (highest + step - 1) / step;
            if (intervals <= maxIntervals) return CountAxis{intervals * step, step};
        }
    }
}

int HourLabelStep(double pixelsPerHour, double labelPixels) {
    for (const int step : {1, 2, 3, 4, 6}) {
        if (pixelsPerHour * step >= labelPixels) return step;
    }
    return 12;
}

HistoryViewSettings ReadHistoryViewSettings(std::string_view bytes) {
    HistoryViewSettings settings;
    const std::vector<std::string> lines = SplitFields(bytes, '\n');
    if (const auto mode = Whole(lines[0], 0, 1)) settings.ChartMode = *mode;
    if (lines.size() > 1) {
        for (const std::string& width : SplitFields(lines[1].substr(0, lines[1].find('\r')), ',')) {
            const auto pixels = Whole(width, 0, 10000);
            if (!pixels) {
                settings.ColumnWidths.clear();
                break;
            }
            settings.ColumnWidths.push_back(*pixels);
        }
    }
    return settings;
}

std::string WriteHistoryViewSettings(const HistoryViewSettings& settings) {
    std::string text = std::to_string(settings.ChartMode) + "\r\n";
    for (size_t i = 0; i < settings.ColumnWidths.size(); ++i) {
        if (i > 0) text.push_back(',');
        text += std::to_string(settings.ColumnWidths[i]);
    }
    return text + "\r\n";
}

std::string MatchCountText(std::int64_t matches, bool narrowed) {
    if (matches <= 0) return narrowed ? "No hits match" : "No hits yet";
    std::string digits = std::to_string(matches);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<size_t>(at), ",");
    return digits + (matches == 1 ? " hit" : " hits");
}

}  // namespace quorvane
