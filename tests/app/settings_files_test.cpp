#include <gtest/gtest.h>

#include "app/SettingsFiles.h"
#include "app/SettingsText.h"

using namespace quorvane;

struct NumberCase {
    const char* line;
    double expected;
};

class LeadingNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(LeadingNumberTest, TakesTheLeadingNumberOfTheLine) {
    EXPECT_DOUBLE_EQ(LeadingNumber(GetParam().line), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Lines, LeadingNumberTest,
                         ::testing::Values(NumberCase{"12abc", 12}, NumberCase{"abc", 0},
                                           NumberCase{" 7", 7}, NumberCase{"", 0},
                                           NumberCase{"-3", -3}, NumberCase{"1234.5", 1234.5},
                                           NumberCase{"  -17.25xyz", -17.25}, NumberCase{".5", 0.5},
                                           NumberCase{"-", 0}, NumberCase{"\"4\"", 0},
                                           NumberCase{"1e3", 1000}, NumberCase{"2.5E-1ms", 0.25},
                                           NumberCase{"7e", 7}, NumberCase{"8e+x", 8}));

TEST(SmallInteger, RoundsHalfToEvenAndRefusesWhatDoesNotFit) {
    EXPECT_EQ(AsSmallInteger(2.5), 2);
    EXPECT_EQ(AsSmallInteger(3.5), 4);
    EXPECT_EQ(AsSmallInteger(-32768), -32768);
    EXPECT_EQ(AsSmallInteger(40000), std::nullopt);
}

TEST(ComSettingsFile, PortThreeAndSpeed38400WriteTwoTwoAndHundred) {
    ComSettings settings{2, 2, 100, {}};
    EXPECT_EQ(WriteComSettings(settings), "2\r\n2\r\n100\r\n");
    const ComSettings back = ReadComSettings(WriteComSettings(settings));
    EXPECT_EQ(back.portIndex, 2);
    EXPECT_EQ(back.speedIndex, 2);
    EXPECT_EQ(back.pollInterval, 100);
}

TEST(ComSettingsFile, OutOfRangeAndMissingValuesFallBack) {
    struct Case {
        const char* bytes;
        int port, speed, interval;
        const char* notice;
    } cases[] = {
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

TEST(MacroSettingsFile, QuotedLinesRoundTripWithoutTheirQuotes) {
    const MacroTexts macros{"F,H 1,P F,R", "say \"hi\" 2,P", ""};
    const std::string bytes = WriteMacroSettings(macros);
    EXPECT_EQ(bytes, "\"F,H 1,P F,R\"\r\n\"say hi 2,P\"\r\n\"\"\r\n");
    const MacroTexts back = ReadMacroSettings(bytes);
    EXPECT_EQ(back[0], "F,H 1,P F,R");
    EXPECT_EQ(back[1], "say hi 2,P");
    EXPECT_EQ(back[2], "");
}

TEST(MacroSettingsFile, ExtraLinesAreIgnoredAndMissingOnesStayEmpty) {
    EXPECT_EQ(ReadMacroSettings("\"a\"\r\n\"b\"\r\n\"c\"\r\n\"d\"\r\n")[2], "c");
    const MacroTexts one = ReadMacroSettings("\"only\"\n");
    EXPECT_EQ(one[0], "only");
    EXPECT_EQ(one[1], "");
}

TEST(PgmSettingsFile, AllElevenValuesRoundTripExactly) {
    PgmSettings s;
    s.tab = 2;
    s.recordAudio = 1;
    s.logText = 1;
    s.alwaysOnTop = 0;
    s.stateIndex1 = 55;
    s.stateIndex2 = 0;
    s.layoutCode = 7;
    s.left = 1234.5;
    s.top = -300;
    s.logDirectory = "/home/user/logs";
    s.delayIndex = 16;  // "Auto"
    const std::string bytes = WritePgmSettings(s);
    EXPECT_EQ(bytes, "2\r\n1\r\n1\r\n0\r\n55\r\n0\r\n7\r\n1234.5\r\n-300\r\n\"/home/user/logs\"\r\n16\r\n");
    EXPECT_EQ(WritePgmSettings(ReadPgmSettings(bytes)), bytes);
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
