#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <tuple>

#include "app/SettingsFiles.h"
#include "app/SettingsText.h"
#include "base/Numbers.h"

using namespace quorvane;

TEST(SmallInteger, RoundsHalfToEvenAndRefusesWhatDoesNotFit) {
    const std::pair<double, std::optional<int>> cases[] = {
        {2.5, 2}, {3.5, 4}, {-32768, -32768}, {32767, 32767}, {32768, std::nullopt}, {-32769, std::nullopt},
        {40000, std::nullopt}};
    for (const auto& [value, expected] : cases) EXPECT_EQ(AsSmallInteger(value), expected) << value;
}

TEST(ComSettingsFile, ReadsBackWhatItWritesAndOutOfRangeOrMissingValuesFallBack) {
    EXPECT_EQ(WriteComSettings({2, 2, 100, {}}), "2\r\n2\r\n100\r\n");  // port 3 at 38400
    struct Case {
        const char* bytes;
        int port, speed, interval;
        const char* notice;
    } cases[] = {
        {"2\r\n2\r\n100\r\n", 2, 2, 100, ""},
        {"12\r\n3\r\n100\r\n", -1, 3, 100, ""},   // port index outside the list
        {"9\r\n4\r\n250\r\n", 9, -1, 250, ""},    // speed index outside the list
        {"0\r\n3\r\n0\r\n", 0, 3, 100, ""},       // interval 0 keeps the default
        {"1\r\n1\r\n", 1, 1, 100, ""},            // missing third line
        {"abc\r\n3xyz\r\n-5\r\n", 0, 3, 20, "Poll raised to 20 ms"},  // leading numbers
        {"0\r\n3\r\n1\r\n", 0, 3, 20, "Poll raised to 20 ms"},
        {"0\r\n3\r\n1e308\r\n", 0, 3, 100, "Poll set to 100 ms"},
        {"0\r\n3\r\n1e999\r\n", 0, 3, 100, "Poll set to 100 ms"},
        {"0\r\n3\r\n2e1\r\n", 0, 3, 20, ""},
        {"0\r\n3\r\n65535\r\n", 0, 3, 65535, ""},
        {"", -1, -1, 100, ""},
    };
    for (const auto& c : cases) {
        const ComSettings s = ReadComSettings(c.bytes);
        EXPECT_EQ(s.portIndex, c.port) << c.bytes;
        EXPECT_EQ(s.speedIndex, c.speed) << c.bytes;
        EXPECT_EQ(s.pollInterval, c.interval) << c.bytes;
        EXPECT_EQ(s.pollIntervalNotice, c.notice) << c.bytes;
    }
}

TEST(MacroSettingsFile, QuotedLinesRoundTripWithoutTheirQuotesExtraOnesIgnored) {
    const std::string bytes = WriteMacroSettings({"F,H 1,P F,R", "say \"hi\" 2,P", ""});
    EXPECT_EQ(bytes, "\"F,H 1,P F,R\"\r\n\"say hi 2,P\"\r\n\"\"\r\n");
    EXPECT_EQ(ReadMacroSettings(bytes), (MacroTexts{"F,H 1,P F,R", "say hi 2,P", ""}));
    EXPECT_EQ(ReadMacroSettings("\"a\"\r\n\"b\"\r\n\"c\"\r\n\"d\"\r\n"), (MacroTexts{"a", "b", "c"}));
    EXPECT_EQ(ReadMacroSettings("\"only\"\n"), (MacroTexts{"only", "", ""}));
}

TEST(PgmSettingsFile, AllElevenValuesRoundTripExactly) {
    const std::string bytes = "2\r\n1\r\n1\r\n0\r\n55\r\n0\r\n7\r\n1234.5\r\n-300\r\n\"/home/user/logs\"\r\n16\r\n";
    const PgmSettings s = ReadPgmSettings(bytes);
    EXPECT_EQ(std::tuple(*s.tab, s.stateIndex1, s.layoutCode, *s.left, s.logDirectory, s.delayIndex),
              std::tuple(2, 55, 7, 1234.5, std::string("/home/user/logs"), 16));
    EXPECT_EQ(WritePgmSettings(s), bytes);
}

// Qt takes the user's locale at start-up; one with a decimal comma must not
// change how a settings file is read or written.
TEST(PgmSettingsFile, ReadAndWrittenTheSameUnderADecimalCommaLocale) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "the de_DE.UTF-8 locale is missing: run scripts/deps";
    const std::string bytes = "2\r\n1\r\n1\r\n0\r\n55\r\n0\r\n7\r\n1234.5\r\n-0.25\r\n\"/logs\"\r\n16\r\n";
    const PgmSettings s = ReadPgmSettings(bytes);
    const std::string written = WritePgmSettings(s);
    const double left = *s.left;
    const double huge = LeadingNumber("1e999");
    std::setlocale(LC_ALL, before.c_str());
    EXPECT_EQ(left, 1234.5);
    EXPECT_EQ(written, bytes);
    EXPECT_EQ(huge, HUGE_VAL);
}

TEST(PgmSettingsFile, BadValuesFallBackOneByOneAndTheRestStillLoads) {
    const PgmSettings s = ReadPgmSettings(
        "9\r\n1\r\n7\r\n1\r\n56\r\n12abc\r\n8\r\n 7.25\r\nxyz\r\n\"C:\\\"odd\\\"\"\r\n99\r\nextra\r\n");
    EXPECT_FALSE(s.tab.has_value());  // tab 9 does not exist
    EXPECT_EQ(s.recordAudio, 1);
    EXPECT_EQ(s.logText, 0);          // 7 is no check-box value
    EXPECT_EQ(s.alwaysOnTop, 1);
    EXPECT_EQ(s.stateIndex1, kDefaultStateIndex);
    EXPECT_EQ(s.stateIndex2, 12);
    EXPECT_EQ(s.layoutCode, 1);       // 8 restores "full"
    EXPECT_DOUBLE_EQ(*s.left, 7.25);  // fractions accepted for the window edges
    EXPECT_DOUBLE_EQ(*s.top, 0);
    EXPECT_EQ(s.logDirectory, "C:\\odd\\");  // quotes inside the name are lost
    EXPECT_EQ(s.delayIndex, kDefaultDelayIndex);
    // An edge far off any screen is no position (found by fuzzing: it was
    // saved as 1.001003e+18 and read back as 1).
    const PgmSettings far = ReadPgmSettings("0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n-90000000\r\n1001003038888888\r\n");
    EXPECT_FALSE(far.left.has_value());
    EXPECT_FALSE(far.top.has_value());
    // Nor is a tiny fraction written as 2.222222e-08, which read back as 2.22.
    PgmSettings tiny;
    tiny.left = 2.222222e-08;
    EXPECT_DOUBLE_EQ(*ReadPgmSettings(WritePgmSettings(tiny)).left, 0);
}

TEST(PgmSettingsFile, MissingLinesLeaveTheirDefaults) {
    const PgmSettings s = ReadPgmSettings("0\r\n1\r\n");
    EXPECT_EQ(s.tab, 0);
    EXPECT_EQ(s.recordAudio, 1);
    EXPECT_EQ(s.stateIndex1, kDefaultStateIndex);
    EXPECT_EQ(s.layoutCode, 1);
    EXPECT_FALSE(s.left.has_value());
    EXPECT_EQ(s.logDirectory, "");
    EXPECT_EQ(s.delayIndex, kDefaultDelayIndex);
}

TEST(SettingsLines, AcceptsEveryLineEndAndAddsNoLineForTheFinalOne) {
    EXPECT_EQ(SettingsLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SettingsLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(SettingsLines("").empty());
}
