#include "input/Macros.h"

#include <gtest/gtest.h>

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
        {"x\"y\x82", {"KEY,x\"y\x82"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        const MacroExpansion macro = ExpandMacro(c.text);
        EXPECT_EQ(macro.commands, c.commands);
        EXPECT_FALSE(macro.Refused());
    }
}

TEST(ExpandMacro, AtMostTwoHundredCommands) {
    std::string text = "0,P";
    for (int i = 1; i < 200; ++i) text += " " + std::to_string(i % 10) + ",P";
    const MacroExpansion longest = ExpandMacro(text);
    ASSERT_EQ(longest.commands.size(), 200u);
    EXPECT_EQ(longest.commands.back(), "KEY,9,P");

    const MacroExpansion tooLong = ExpandMacro(text + " 1,P");
    EXPECT_TRUE(tooLong.commands.empty());
    EXPECT_EQ(tooLong.error, "The macro is too long: 201 commands (at most 200).");
}

TEST(MacroTextForSaving, RemovesEveryDoubleQuote) {
    EXPECT_EQ(MacroTextForSaving("\"1,P\" 2,P\"\""), "1,P 2,P");
    EXPECT_EQ(MacroTextForSaving("\"\"\""), "");
    EXPECT_EQ(MacroTextForSaving("1,P '\x82"), "1,P '\x82");
}

}  // namespace
}  // namespace quorvane
