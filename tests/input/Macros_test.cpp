#include "input/Macros.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvane {
namespace {

using Commands = std::vector<std::string>;

TEST(ExpandMacro, SplitsAtEverySingleSpace) {
    struct Case {
        const char* text;
        Commands commands;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"1,P", {"KEY,1,P"}},
        {"F,H 1,P F,R", {"KEY,F,H", "KEY,1,P", "KEY,F,R"}},
        {"1,P  2,P", {"KEY,1,P", "KEY,", "KEY,2,P"}},
        {"1,P ", {"KEY,1,P", "KEY,"}},
        {" 1,P", {"KEY,", "KEY,1,P"}},
        {" ", {"KEY,", "KEY,"}},
        {"x\"y\x82", {"KEY,x\"y\x82"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        const MacroExpansion macro = ExpandMacro(c.text);
        EXPECT_EQ(macro.commands, c.commands);
        EXPECT_FALSE(macro.Refused());
    }
}

std::string Tokens(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += (i ? " " : "") + std::to_string(i % 10) + ",P";
    return text;
}

TEST(ExpandMacro, AtMostTwoHundredCommands) {
    const MacroExpansion longest = ExpandMacro(Tokens(200), 1);
    EXPECT_FALSE(longest.Refused());
    ASSERT_EQ(longest.commands.size(), 200u);
    EXPECT_EQ(longest.commands.back(), "KEY,9,P");

    const MacroExpansion tooLong = ExpandMacro(Tokens(201), 2);
    EXPECT_TRUE(tooLong.commands.empty());
    EXPECT_EQ(tooLong.error, "Macro 2 is too long: 201 commands (at most 200).");

    // Spaces alone make tokens too.
    const MacroExpansion blanks = ExpandMacro(std::string(200, ' '), 3);
    EXPECT_EQ(blanks.error, "Macro 3 is too long: 201 commands (at most 200).");

    const MacroExpansion huge = ExpandMacro(std::string(5'000'000, ' '));
    EXPECT_TRUE(huge.commands.empty());
    EXPECT_EQ(huge.error, "The macro is too long: 5000001 commands (at most 200).");
}

TEST(MacroSteps, WaitAfterEveryCommandTheLastIncluded) {
    const std::vector<Step> expected = {Step::Send("KEY,1,P"), Step::Wait(100),
                                        Step::Send("KEY,"), Step::Wait(100)};
    EXPECT_EQ(MacroSteps({"KEY,1,P", "KEY,"}), expected);
    EXPECT_TRUE(MacroSteps({}).empty());
}

TEST(MacroTextForSaving, RemovesEveryDoubleQuote) {
    EXPECT_EQ(MacroTextForSaving("\"1,P\" 2,P\"\""), "1,P 2,P");
    EXPECT_EQ(MacroTextForSaving("F,H 1,P F,R"), "F,H 1,P F,R");
    EXPECT_EQ(MacroTextForSaving("\"\"\""), "");
    EXPECT_EQ(MacroTextForSaving("1,P '\x82"), "1,P '\x82");
    EXPECT_EQ(MacroTextForSaving(""), "");
}

}  // namespace
}  // namespace quorvane
