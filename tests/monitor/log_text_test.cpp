#include "monitor/LogText.h"

#include <gtest/gtest.h>

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
    log.Prepend("second\r\n");
    EXPECT_EQ(log.Text(), "second\r\nfirst\r\n");
    EXPECT_EQ(log.FileContent(), "second\r\nfirst\r\n\r\n");
    log.Clear();
    EXPECT_EQ(log.FileContent(), "\r\n");
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
    EXPECT_EQ(LogFilePath("/home/u/logs", "12-04-2026", "2-51-13-PM"),
              "/home/u/logs/12-04-2026_2-51-13-PM.txt");
    EXPECT_EQ(LogFilePath("/", "d", "t"), "/d_t.txt");
#endif
    EXPECT_EQ(LogFolder("", "app"), "app");
    EXPECT_EQ(LaunchDateText(2026, 12, 4), "12-04-2026");
    EXPECT_EQ(LaunchDateText(987, 1, 31), "01-31-0987");
}

}  // namespace
}  // namespace quorvane
