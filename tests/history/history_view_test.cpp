// How the History tab's chart and table are laid out and remembered.
#include <gtest/gtest.h>

#include "history/HistoryView.h"

namespace quorvane {
namespace {

TEST(HistoryView, CountAxesTickAtWholeEvenSteps) {
    struct Case { std::int64_t highest; int intervals; CountAxis expected; };
    const Case cases[] = {
        {0, 5, {1, 1}},       {1, 5, {1, 1}},         {5, 5, {5, 1}},     {9, 5, {10, 2}},
        {11, 5, {15, 5}},     {26, 5, {30, 10}},      {100, 5, {100, 20}}, {101, 5, {150, 50}},
        {7, 8, {7, 1}},       {987654, 6, {1000000, 200000}}, {3, 0, {5, 5}},
    };
    for (const Case& c : cases) EXPECT_EQ(CountAxisFor(c.highest, c.intervals), c.expected) << c.highest;
}

TEST(HistoryView, HourLabelsThinOutToFit) {
    const std::tuple<double, double, int> cases[] = {
        {30, 14, 1}, {10, 14, 2}, {5, 14, 3}, {4, 14, 4}, {3, 14, 6}, {1, 14, 12}, {14, 14, 1}};
    for (const auto& [perHour, label, step] : cases) EXPECT_EQ(HourLabelStep(perHour, label), step) << perHour;
}

TEST(HistoryView, MatchCountsGroupTheirThousands) {
    const std::tuple<std::int64_t, bool, const char*> cases[] = {
        {0, false, "No hits yet"}, {0, true, "No hits match"}, {1, true, "1 hit"},          {999, false, "999 hits"},
        {1000, false, "1,000 hits"}, {100000, true, "100,000 hits"}, {1234567, false, "1,234,567 hits"}};
    for (const auto& [matches, narrowed, text] : cases) EXPECT_EQ(MatchCountText(matches, narrowed), text);
}

TEST(HistoryView, TheViewFileReadsBackAndFallsBackOnAnythingOdd) {
    const HistoryViewSettings saved{1, {140, 90, 60, 0}};
    EXPECT_EQ(WriteHistoryViewSettings(saved), "1\r\n140,90,60,0\r\n");
    EXPECT_EQ(ReadHistoryViewSettings(WriteHistoryViewSettings(saved)), saved);
    struct Case { const char* bytes; HistoryViewSettings expected; };
    const Case cases[] = {
        {"", {0, {}}},
        {"1\n120,80\n", {1, {120, 80}}},
        {"2\r\n120,80\r\n", {0, {120, 80}}},      // no third chart
        {"1\r\n120,x,80\r\n", {1, {}}},           // one bad width: all fit again
        {"1\r\n120,-4\r\n", {1, {}}},
        {"one\r\n", {0, {}}},
        {"1\r\n\r\n", {1, {}}},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadHistoryViewSettings(c.bytes), c.expected) << c.bytes;
}

}  // namespace
}  // namespace quorvane
