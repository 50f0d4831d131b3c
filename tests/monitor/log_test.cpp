#include <gtest/gtest.h>

#include <algorithm>

#include "monitor/LogGrid.h"
#include "monitor/LogText.h"

namespace quorvane {
namespace {

TEST(FixForLog, ReplacesTheSevenUnsafeCharacters) {
    const std::pair<std::string, std::string> cases[] = {
        {"12:05:33 PM", "12-05-33-PM"}, {"a/b\\c", "a-b-c"}, {"say \"hi\"", "say--hi-"},
        {"<abc>", "<abc>"},             {"a*b?c|d.e", "a-b-c|d.e"}, {"\x82\x10", "\x82\x10"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(FixForLog(in), out) << in;
}

TEST(LogText, NewestLineFirstAndFileEndsWithALineBreak) {
    LogText log;
    EXPECT_EQ(log.FileContent(), "\r\n");
    log.Prepend("first\r\n");
    EXPECT_EQ(log.Prepend("A / B\tCh\r\n"), (LogRow{{"A / B", "Ch", "", "", "", "", ""}, true}));
    EXPECT_EQ(log.FileContent(), "A / B\tCh\r\nfirst\r\n\r\n");
    EXPECT_EQ(log.Rows().back(), (LogRow{{"first", "", "", "", "", "", ""}, false}));
}

TEST(LogFiles, FolderChoiceAndPath) {
#ifdef _WIN32
    EXPECT_EQ(LogFolder("C:\\Logs", "D:\\App"), "C:\\Logs");
    EXPECT_EQ(LogFolder("\\\\server\\share", "D:\\App"), "D:\\App");
    EXPECT_EQ(LogFilePath("C:\\Logs", "12-04-2026", "2-51-13-PM"), "C:\\Logs\\12-04-2026_2-51-13-PM.txt");
#else
    EXPECT_EQ(LogFolder("/home/u/logs", "/app"), "/home/u/logs");
    EXPECT_EQ(LogFolder("logs", "/app"), "/app");
    EXPECT_EQ(LogFolder("C:\\Logs", "/app"), "/app");
    EXPECT_EQ(LogFilePath("/home/u/logs", "12-04-2026", "2-51-13-PM"), "/home/u/logs/12-04-2026_2-51-13-PM.txt");
    EXPECT_EQ(LogFilePath("/", "d", "t"), "/d_t.txt");
#endif
    EXPECT_EQ(LogFolder("", "app"), "app");
    EXPECT_EQ(LaunchDateText(2026, 12, 4), "12-04-2026");
    EXPECT_EQ(LaunchDateText(987, 1, 31), "01-31-0987");
}

bool IsEmptyRow(const LogGridRow& row) { return row.Cells == LogGridRow{}.Cells; }

TEST(LogGrid, LinesWithASlashUpTo1500BecomeRowsThenTwentyEmptyRows) {
    const std::vector<LogGridRow> rows = LogGridFill(
        "A / B\tCh\t 154.4300\t\t1:00:00 PM\t1:00:05 PM\t12-04-2026\r\n"
        "stray text\r\n"
        "C / \tx\r\n"
        "D / E\t1\t2\t3\t4\t5\t6\textra\r\n");
    ASSERT_EQ(rows.size(), 3u + 20u);
    EXPECT_EQ(rows[0].Cells, (std::array<std::string, 8>{"0", "A / B", "Ch", " 154.4300", "", "1:00:00 PM",
                                                         "1:00:05 PM", "12-04-2026"}));
    EXPECT_EQ(rows[1].Cells, (std::array<std::string, 8>{"2", "C / ", "x", "", "", "", "", ""}));
    EXPECT_EQ(rows[2].Cells[0] + rows[2].Cells[7], "36");
    EXPECT_TRUE(std::all_of(rows.begin() + 3, rows.end(), IsEmptyRow));
    // Line indexes up to 1500 only, in stripes.
    std::string log;
    for (int i = 0; i < 2000; ++i) log += "S / G\tline " + std::to_string(i) + "\r\n";
    const std::vector<LogGridRow> many = LogGridFill(log);
    ASSERT_EQ(many.size(), 1501u + 20u);
    EXPECT_EQ(many[1500].Cells[2], "line 1500");
    // Stripes start white.
    EXPECT_EQ(LogGridStripeColour(0), 0xFFFFFFu);
    EXPECT_EQ(LogGridStripeColour(1), 0xFAFAFAu);
}

// A log built a line at a time ("" clears it) gives, row by row and cell by
// cell, the grid read back from its text.
TEST(LogGrid, RowsFollowedALineAtATimeAreTheGridReadFromTheText) {
    const auto lines = [](int count, int everyStray) {
        std::vector<std::string> made;
        for (int i = 0; i < count; ++i) {
            const bool stray = everyStray > 0 && i % everyStray == 0;
            made.push_back((stray ? "stray " : "S / G\tline ") + std::to_string(i) + "\r\n");
        }
        return made;
    };
    const auto join = [](std::initializer_list<std::vector<std::string>> parts) {
        std::vector<std::string> joined;
        for (const auto& part : parts) joined.insert(joined.end(), part.begin(), part.end());
        return joined;
    };
    const std::string hit = "A / B\tCh\t 154.4300\t\t1:00:00 PM\t1:00:05 PM\t12-04-2026\r\n";
    const std::string clear;
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"empty", {}},
        {"one hit", {hit}},
        {"odd lines", {hit, "stray text\r\n", "C / \tx\r\n", "D / E\t1\t2\t3\t4\t5\t6\textra\t\r\n", "\r\n",
                       "a\rb / c\t\n\t\r\r\n", "/\r\n", "\t\t\t\t\t\t\t/\r\n"}},
        {"cleared, then more", {hit, hit, clear, "C / \tx\r\n"}},
        {"cleared to nothing", {hit, clear}},
        {"past the last index", lines(1600, 0)},
        {"past the last index, some lines not shown", lines(1600, 7)},
        {"cleared past the last index", join({lines(1700, 3), {clear}, lines(1503, 2)})},
    };
    for (const auto& [name, events] : cases) {
        LogText log;
        LogGridRows grid;
        size_t added = 0;
        for (const std::string& event : events) {
            if (event.empty()) {
                log.Clear();
                grid.Clear();
                added = 0;
            } else {
                grid.Add(log.Prepend(event), {});
                ++added;
            }
        }
        EXPECT_EQ(log.Rows().size(), added) << name;
        const std::vector<LogGridRow> fromText = LogGridFill(log.Text());
        ASSERT_EQ(grid.GridRowCount(), fromText.size()) << name;
        for (size_t r = 0; r < fromText.size(); ++r) {
            for (size_t column = 0; column < kLogGridColumns; ++column) {
                ASSERT_EQ(grid.Cell(r, column), fromText[r].Cells[column]) << name << ", row " << r << ", column " << column;
            }
        }
    }
}

}  // namespace
}  // namespace quorvane
