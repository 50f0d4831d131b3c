#include "input/KeyPad.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

using Texts = std::vector<std::string>;

std::vector<Step> Sends(const Texts& texts) {
    std::vector<Step> steps;
    for (const std::string& t : texts) steps.push_back(Step::Send(t));
    return steps;
}

// A function combination: the press inside a hold and release of F.
Texts WithF(const std::string& press) { return {"KEY,F,H", press, "KEY,F,R"}; }

struct KeyBytes {
    std::string name;
    Texts sends;
};

std::vector<KeyBytes> EveryPressKey() {
    std::vector<KeyBytes> keys = {
        {"key_hold", {"KEY,H,P"}},    {"key_hold_bar", {"KEY,H,P"}}, {"key_scan", {"KEY,S,P"}},
        {"key_lo", {"KEY,L,P"}},      {"key_light", {"KEY,!,P"}},    {"key_power", {"KEY,P,P"}},
        {"key_yes", {"KEY,E,P"}},     {"key_no", {"KEY,.,P"}},       {"key_menu", {"KEY,M,P"}},
        {"key_right", {"KEY,>,P"}},   {"key_left", {"KEY,<,P"}},     {"key_push", {"KEY,^,P"}},
        {"key_rcl", WithF("KEY,7,P")}, {"key_pri", WithF("KEY,1,P")}, {"key_wx", WithF("KEY,2,P")},
        {"key_cc", WithF("KEY,H,P")}, {"key_srch", WithF("KEY,S,P")}, {"key_att", WithF("KEY,E,P")},
        {"key_cconly", {"KEY,M,P", "KEY,>,P", "KEY,>,P", "KEY,>,P", "KEY,E,P", "KEY,E,P"}},
        {"key_start_quck_scan", {}},  // not a key: nothing happens
    };
    for (char d = '0'; d <= '9'; ++d) {
        const std::string press = std::string("KEY,") + d + ",P";
        keys.push_back({std::string("key_") + d, {press}});
        keys.push_back({std::string("key_g") + d, WithF(press)});
    }
    return keys;
}

TEST(KeyPad, EachKeySendsItsBytesAndLeavesTheLatchesAlone) {
    for (const bool functionHeld : {false, true}) {
        KeyPad pad;
        if (functionHeld) pad.Click("key_f");
        for (const KeyBytes& key : EveryPressKey()) {
            SCOPED_TRACE(key.name + (functionHeld ? " with F held" : ""));
            const KeyClick click = pad.Click(key.name);
            EXPECT_EQ(click.steps, Sends(key.sends));
            EXPECT_FALSE(click.picture.has_value());
            EXPECT_EQ(click.stopsQuickScan, key.name == "key_scan" || key.name == "key_cconly");
            EXPECT_EQ(pad.FunctionHeld(), functionHeld ? "1" : "");
            EXPECT_EQ(pad.ReverseHeld(), "");
        }
    }
}

TEST(KeyPad, TimedKeysAndLatchesWithTheirPictures) {
    struct LatchClick {
        const char* name;
        std::vector<Step> steps;
        std::optional<KeyPicture> picture;
        const char* functionHeld;
        const char* reverseHeld;
    };
    const std::vector<LatchClick> clicks = {
        {"key_lock",
         {Step::Send("KEY,F,H"), Step::Wait(1000), Step::Send("KEY,!,P"), Step::Send("KEY,F,R")},
         std::nullopt, "", ""},
        {"key_f", Sends({"KEY,F,H"}), KeyPicture::Pressed, "1", ""},
        // key_rev neither reads nor changes the function latch.
        {"key_rev", {Step::Send("KEY,F,H"), Step::Wait(1000), Step::Send("KEY,.,H")},
         KeyPicture::Pressed, "1", "1"},
        {"key_rev", {Step::Send("KEY,.,R"), Step::Wait(1000), Step::Send("KEY,F,R")},
         KeyPicture::Released, "1", "0"},
        {"key_f", Sends({"KEY,F,R"}), KeyPicture::Released, "0", "0"},
        {"key_f", Sends({"KEY,F,H"}), KeyPicture::Pressed, "1", "0"},
    };
    KeyPad pad;
    for (std::size_t i = 0; i < clicks.size(); ++i) {
        SCOPED_TRACE("click " + std::to_string(i));
        const KeyClick click = pad.Click(clicks[i].name);
        EXPECT_EQ(click.steps, clicks[i].steps);
        EXPECT_EQ(click.picture, clicks[i].picture);
        EXPECT_EQ(pad.FunctionHeld(), clicks[i].functionHeld);
        EXPECT_EQ(pad.ReverseHeld(), clicks[i].reverseHeld);
    }
}

TEST(KeyPad, MacroKeysPlayTheirBoxOrRefuseIt) {
    KeyPad pad;
    const std::vector<Step> played = {Step::Send("KEY,F,H"), Step::Wait(100),
                                      Step::Send("KEY,1,P"), Step::Wait(100)};
    EXPECT_EQ(pad.Click("key_m1", "F,H 1,P").steps, played);
    EXPECT_TRUE(pad.Click("key_m3", "").steps.empty());
    // 200 spaces are 201 empty commands: refused whole, naming the box.
    const KeyClick refused = pad.Click("key_m2", std::string(200, ' '));
    EXPECT_TRUE(refused.steps.empty());
    EXPECT_EQ(refused.error, "Macro 2 is too long: 201 commands (at most 200).");
}

}  // namespace
}  // namespace quorvane
