#include "monitor/LogGrid.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

bool IsEmptyRow(const LogGridRow& row) {
    for (const std::string& cell : row.Cells) {
        if (!cell.empty()) return false;
    }
    return true;
}

TEST(LogGrid, EmptyLogGivesTwentyEmptyRows) {
    const std::vector<LogGridRow> rows = LogGridFill("");
    ASSERT_EQ(rows.size(), 20u);
    for (const LogGridRow& row : rows) EXPECT_TRUE(IsEmptyRow(row));
}

TEST(LogGrid, LinesWithASlashBecomeRowsWithTheirIndex) {
    const std::vector<LogGridRow> rows = LogGridFill(
        "A / B\tCh\t 154.4300\t\t1:00:00 PM\t1:00:05 PM\t12-04-2026\r\n"
        "stray text\r\n"
        "C / \tx\r\n"
        "D / E\t1\t2\t3\t4\t5\t6\textra\r\n");
    ASSERT_EQ(rows.size(), 3u + 20u);
    EXPECT_EQ(rows[0].Cells, (std::array<std::string, 8>{"0", "A / B", "Ch", " 154.4300", "",
                                                         "1:00:00 PM", "1:00:05 PM", "12-04-2026"}));
    EXPECT_EQ(rows[1].Cells, (std::array<std::string, 8>{"2", "C / ", "x", "", "", "", "", ""}));
    EXPECT_EQ(rows[2].Cells[0], "3");
    EXPECT_EQ(rows[2].Cells[7], "6");
    EXPECT_TRUE(IsEmptyRow(rows[3]));
}

TEST(LogGrid, ShowsLineIndexesUpTo1500Only) {
    std::string log;
    for (int i = 0; i < 2000; ++i) log += "S / G\tline " + std::to_string(i) + "\r\n";
    const std::vector<LogGridRow> rows = LogGridFill(log);
    ASSERT_EQ(rows.size(), 1501u + 20u);
    EXPECT_EQ(rows[1500].Cells[0], "1500");
    EXPECT_EQ(rows[1500].Cells[2], "line 1500");
    EXPECT_TRUE(IsEmptyRow(rows[1501]));
}

TEST(LogGrid, RefillingKeptRowsLeavesNothingStale) {
    std::vector<LogGridRow> rows;
    LogGridFill("A / B\t1\t2\t3\t4\t5\t6\r\nC / D\t1\r\nE / F\t1\r\n", rows);
    LogGridFill("junk\r\nG / H\tx", rows);
    const std::vector<LogGridRow> fresh = LogGridFill("junk\r\nG / H\tx");
    ASSERT_EQ(rows.size(), fresh.size());
    for (size_t r = 0; r < rows.size(); ++r) EXPECT_EQ(rows[r].Cells, fresh[r].Cells) << r;
    EXPECT_EQ(rows[0].Cells[0], "1");
    EXPECT_EQ(rows[0].Cells[3], "");
}

TEST(LogGrid, StripesStartWhite) {
    EXPECT_EQ(LogGridStripeColour(0), 0xFFFFFFu);
    EXPECT_EQ(LogGridStripeColour(1), 0xFAFAFAu);
    EXPECT_EQ(LogGridStripeColour(1520), 0xFFFFFFu);
}

}  // namespace
}  // namespace quorvane
