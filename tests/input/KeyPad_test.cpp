#include "input/KeyPad.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvane {
namespace {

std::vector<Step> Sends(std::initializer_list<const char*> texts) {
    std::vector<Step> steps;
    for (const char* t : texts) steps.push_back(Step::Send(t));
    return steps;
}

struct SingleCase {
    const char* name;
    const char* command;
};

TEST(KeyPad, EachSingleKeySendsItsOneCommand) {
    const std::vector<SingleCase> cases = {
        {"key_hold", "KEY,H,P"},  {"key_hold_bar", "KEY,H,P"}, {"key_scan", "KEY,S,P"},
        {"key_lo", "KEY,L,P"},    {"key_light", "KEY,!,P"},    {"key_power", "KEY,P,P"},
        {"key_1", "KEY,1,P"},     {"key_2", "KEY,2,P"},        {"key_3", "KEY,3,P"},
        {"key_4", "KEY,4,P"},     {"key_5", "KEY,5,P"},        {"key_6", "KEY,6,P"},
        {"key_7", "KEY,7,P"},     {"key_8", "KEY,8,P"},        {"key_9", "KEY,9,P"},
        {"key_0", "KEY,0,P"},     {"key_yes", "KEY,E,P"},      {"key_no", "KEY,.,P"},
        {"key_menu", "KEY,M,P"},  {"key_right", "KEY,>,P"},    {"key_left", "KEY,<,P"},
        {"key_push", "KEY,^,P"},
    };
    KeyPad pad;
    for (const SingleCase& c : cases) {
        SCOPED_TRACE(c.name);
        const KeyClick click = pad.Click(c.name);
        EXPECT_EQ(click.steps, Sends({c.command}));
        EXPECT_FALSE(click.picture.has_value());
        EXPECT_TRUE(click.error.empty());
    }
}

TEST(KeyPad, ScanAndCloseCallOnlyStopTheQuickScanFirst) {
    KeyPad pad;
    EXPECT_TRUE(pad.Click("key_scan").stopsQuickScan);
    EXPECT_TRUE(pad.Click("key_cconly").stopsQuickScan);
    EXPECT_FALSE(pad.Click("key_hold").stopsQuickScan);
    EXPECT_FALSE(pad.Click("key_srch").stopsQuickScan);
}

TEST(KeyPad, EachCombinationHoldsFunctionAroundItsPress) {
    const std::vector<SingleCase> cases = {
        {"key_g1", "KEY,1,P"},   {"key_g2", "KEY,2,P"},  {"key_g3", "KEY,3,P"},
        {"key_g4", "KEY,4,P"},   {"key_g5", "KEY,5,P"},  {"key_g6", "KEY,6,P"},
        {"key_g7", "KEY,7,P"},   {"key_g8", "KEY,8,P"},  {"key_g9", "KEY,9,P"},
        {"key_g0", "KEY,0,P"},   {"key_cc", "KEY,H,P"},  {"key_srch", "KEY,S,P"},
        {"key_rcl", "KEY,7,P"},  {"key_pri", "KEY,1,P"}, {"key_att", "KEY,E,P"},
        {"key_wx", "KEY,2,P"},
    };
    for (const std::string held : {"", "1"}) {
        KeyPad pad;
        if (held == "1") pad.Click("key_f");
        for (const SingleCase& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " with FunctionHeld \"" + held + "\"");
            EXPECT_EQ(pad.Click(c.name).steps, Sends({"KEY,F,H", c.command, "KEY,F,R"}));
            EXPECT_EQ(pad.FunctionHeld(), held);
        }
    }
}

TEST(KeyPad, SameScannerKeysUnderOtherLegends) {
    KeyPad pad;
    EXPECT_EQ(pad.Click("key_rcl").steps, pad.Click("key_g7").steps);
    EXPECT_EQ(pad.Click("key_pri").steps, pad.Click("key_g1").steps);
    EXPECT_EQ(pad.Click("key_wx").steps, pad.Click("key_g2").steps);
}

TEST(KeyPad, CloseCallOnlySendsItsSixCommands) {
    KeyPad pad;
    EXPECT_EQ(pad.Click("key_cconly").steps,
              Sends({"KEY,M,P", "KEY,>,P", "KEY,>,P", "KEY,>,P", "KEY,E,P", "KEY,E,P"}));
}

TEST(KeyPad, LockWaitsASecondAfterHoldingFunction) {
    KeyPad pad;
    pad.Click("key_f");
    const std::vector<Step> expected = {Step::Send("KEY,F,H"), Step::Wait(1000),
                                        Step::Send("KEY,!,P"), Step::Send("KEY,F,R")};
    EXPECT_EQ(pad.Click("key_lock").steps, expected);
    EXPECT_EQ(pad.FunctionHeld(), "1");
}

TEST(KeyPad, FunctionKeyLatches) {
    KeyPad pad;
    EXPECT_EQ(pad.FunctionHeld(), "");

    KeyClick first = pad.Click("key_f");
    EXPECT_EQ(first.steps, Sends({"KEY,F,H"}));
    EXPECT_EQ(first.picture, KeyPicture::Pressed);
    EXPECT_EQ(pad.FunctionHeld(), "1");

    KeyClick second = pad.Click("key_f");
    EXPECT_EQ(second.steps, Sends({"KEY,F,R"}));
    EXPECT_EQ(second.picture, KeyPicture::Released);
    EXPECT_EQ(pad.FunctionHeld(), "0");

    EXPECT_EQ(pad.Click("key_f").steps, Sends({"KEY,F,H"}));
    EXPECT_EQ(pad.FunctionHeld(), "1");
    EXPECT_EQ(pad.ReverseHeld(), "");
}

TEST(KeyPad, ReverseKeyLatchesWithItsWaits) {
    KeyPad pad;
    pad.Click("key_f");

    KeyClick first = pad.Click("key_rev");
    const std::vector<Step> hold = {Step::Send("KEY,F,H"), Step::Wait(1000),
                                    Step::Send("KEY,.,H")};
    EXPECT_EQ(first.steps, hold);
    EXPECT_EQ(first.picture, KeyPicture::Pressed);
    EXPECT_EQ(pad.ReverseHeld(), "1");

    KeyClick second = pad.Click("key_rev");
    const std::vector<Step> release = {Step::Send("KEY,.,R"), Step::Wait(1000),
                                       Step::Send("KEY,F,R")};
    EXPECT_EQ(second.steps, release);
    EXPECT_EQ(second.picture, KeyPicture::Released);
    EXPECT_EQ(pad.ReverseHeld(), "0");

    // key_rev neither reads nor changes the function latch.
    EXPECT_EQ(pad.FunctionHeld(), "1");
}

TEST(KeyPad, MacroKeyPlaysItsBoxWithSpacing) {
    KeyPad pad;
    const KeyClick click = pad.Click("key_m1", "F,H 1,P");
    const std::vector<Step> expected = {Step::Send("KEY,F,H"), Step::Wait(100),
                                        Step::Send("KEY,1,P"), Step::Wait(100)};
    EXPECT_EQ(click.steps, expected);
    EXPECT_FALSE(click.picture.has_value());
    EXPECT_TRUE(pad.Click("key_m3", "").steps.empty());
}

TEST(KeyPad, TooLongMacroIsRefusedWithItsNumber) {
    std::string text = "1,P";
    for (int i = 1; i < 201; ++i) text += " 1,P";
    KeyPad pad;
    const KeyClick click = pad.Click("key_m2", text);
    EXPECT_TRUE(click.steps.empty());
    EXPECT_EQ(click.error, "Macro 2 is too long: 201 commands (at most 200).");
}

TEST(KeyPad, UnknownControlDoesNothing) {
    KeyPad pad;
    const KeyClick click = pad.Click("key_start_quck_scan");
    EXPECT_TRUE(click.steps.empty());
    EXPECT_FALSE(click.picture.has_value());
    EXPECT_FALSE(click.stopsQuickScan);
}

}  // namespace
}  // namespace quorvane
