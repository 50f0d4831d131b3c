#include "ScenarioParser.h"

#include <gtest/gtest.h>

#include "DemoScenario.h"

namespace quorvane {
namespace {

TEST(ScenarioParser, ReadsStepsSettingsAndMemory) {
    const std::string text =
        "# a comment\r\n"
        "delay 1500  # after each transmission\n"
        "once\n"
        "   step 3000\thit prompt freq=01544300 level=203 line2=\"Fire \\x82 EMS\"\n"
        "step 800 hit cont line2=\"Disp\\\\1 \\\"A\\\"\" talkgroup=\"PD \xE9\"\n"
        "system \"County \xFC\"\n"
        "group Fire\n"
        "channel Tac 01542800\n"
        "system \"#1 Harbor\" # a quoted '#' is text\n";
    std::string error = "stale";
    const Scenario s = ParseScenario(text, &error);
    ASSERT_EQ(error, "");
    EXPECT_EQ(s.scan_delay_ms, 1500);
    EXPECT_TRUE(s.once);
    ASSERT_EQ(s.steps.size(), 2u);
    EXPECT_TRUE(s.steps[0].prompt);
    EXPECT_EQ(s.steps[0].view.line1, std::string(16, ' '));  // a step starts blank
    EXPECT_EQ(s.steps[0].view.line2, "Fire \x82 EMS      ");
    EXPECT_TRUE(s.steps[1].continues);
    EXPECT_EQ(s.steps[1].view.frequency, "01544300");  // taken over from the step before
    EXPECT_EQ(s.steps[1].view.level, 203);
    EXPECT_EQ(s.steps[1].view.line2, "Disp\\1 \"A\"      ");
    EXPECT_EQ(s.steps[1].view.talkgroup, "PD \xE9");
    ASSERT_EQ(s.systems.size(), 2u);
    EXPECT_EQ(s.systems[0].name, "County \xFC");
    EXPECT_EQ(s.systems[0].groups.at(0).channels.at(0).modulation, "AUTO");
    EXPECT_EQ(s.systems[1].name, "#1 Harbor");

    ParseScenario(DemoScenarioText(), &error);
    EXPECT_EQ(error, "");
}

TEST(ScenarioParser, RejectsFaultsWithTheLineAndReason) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"frobnicate", "line 1: unknown directive 'frobnicate'"},
        {"\n\nstep", "line 3: usage: step"},
        {"step ten idle", "line 1: step duration must be a number of ms"},
        {"step 10 idle cont", "line 1: cont on the first step"},
        {"step 10 idle line1=\"12345678901234567\"", "line 1: line1 longer than 16 characters"},
        {"step 10 idle line2=\"a,b\"", "line 1: line2 holds a comma"},
        {"step 10 hit freq=1544300", "line 1: frequency must be 8 digits"},
        {"step 10 hit level=256", "line 1: level must be 0 to 255"},
        {"step 10 hit level=-1", "line 1: level must be 0 to 255"},
        {"step 10 idle line1=\"open", "line 1: unterminated quote"},
        {"group Fire", "line 1: group before any system"},
        {"system S\ngroup G\nchannel C 01544300 USB", "line 3: modulation must be FM, NFM, AM or AUTO"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string error;
        const Scenario s = ParseScenario(c.text, &error);
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        EXPECT_TRUE(s.steps.empty() && s.systems.empty());
    }
}

}  // namespace
}  // namespace quorvane
