#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// The count axis of the History chart: from 0 to Max in whole steps of 1, 2
// or 5 times a power of ten, at most maxIntervals of them, Max the first
// step at or above the highest count (at least one step).
struct CountAxis {
    std::int64_t Max = 1;
    std::int64_t Step = 1;

    bool operator==(const CountAxis&) const = default;
};
CountAxis CountAxisFor(std::int64_t highest, int maxIntervals);

// Every how many hours the "hits per hour" chart labels an hour (1, 2, 3, 4,
// 6 or 12, so that the labels fall on the same hours each day), so that
// each label has its width.
int HourLabelStep(double pixelsPerHour, double labelPixels);

// What the History tab says of a search's matches: "1 hit", "2,318 hits",
// "No hits match" (a search or range that excludes every hit), "No hits
// yet" (nothing logged at all, the whole range).
std::string MatchCountText(std::int64_t matches, bool narrowed);

// history_view.txt in the app folder: how the History tab was left, line 1
// the chart ("0" hits per hour, "1" busiest channels), line 2 the table's
// column widths in pixels, separated by commas. Anything unreadable gives
// the default (hits per hour, widths that fit).
inline constexpr const char* kHistoryViewFile = "history_view.txt";
struct HistoryViewSettings {
    int ChartMode = 0;
    std::vector<int> ColumnWidths;

    bool operator==(const HistoryViewSettings&) const = default;
};
HistoryViewSettings ReadHistoryViewSettings(std::string_view bytes);
std::string WriteHistoryViewSettings(const HistoryViewSettings& settings);

}  // namespace quorvane
