#include "input/Shortcuts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/KeyPad.h"

namespace quorvane {
namespace {

constexpr Modifiers kNone{};
constexpr Modifiers kShift{true, false, false};
constexpr Modifiers kCtrlShift{true, true, false};
constexpr Modifiers kAltShift{true, false, true};

std::vector<std::string> SentTexts(const KeyClick& click) {
    std::vector<std::string> texts;
    for (const Step& s : click.steps) {
        if (s.IsSend()) texts.push_back(s.text);
    }
    return texts;
}

// What pressing a key does, through the key pad like the window does it.
std::vector<std::string> Press(KeyPad& pad, ShortcutKey key, Modifiers mods,
                               bool textEntryActive = false) {
    const std::optional<std::string> target = ShortcutTarget(key, mods, textEntryActive);
    if (!target) return {};
    return SentTexts(pad.Click(*target));
}

TEST(Shortcuts, ShiftedDigitRunsTheCombinationButNotWithCtrlOrAlt) {
    KeyPad pad;
    EXPECT_EQ(Press(pad, ShortcutKey::Digit3, kShift),
              (std::vector<std::string>{"KEY,F,H", "KEY,3,P", "KEY,F,R"}));
    EXPECT_EQ(Press(pad, ShortcutKey::Digit3, kCtrlShift), std::vector<std::string>{"KEY,3,P"});
    EXPECT_EQ(Press(pad, ShortcutKey::Digit3, kAltShift), std::vector<std::string>{"KEY,3,P"});
    EXPECT_EQ(Press(pad, ShortcutKey::Digit3, Modifiers{false, true, false}),
              std::vector<std::string>{"KEY,3,P"});
    EXPECT_EQ(ShortcutTarget(ShortcutKey::Digit0, kShift, false), "key_g0");
    EXPECT_EQ(ShortcutTarget(ShortcutKey::Digit0, kNone, false), "key_0");
}

TEST(Shortcuts, EveryKeyUnshiftedAndShifted) {
    struct Row {
        ShortcutKey key;
        const char* unshifted;
        const char* shifted;
    };
    const std::vector<Row> rows = {
        {ShortcutKey::Digit1, "key_1", "key_g1"},   {ShortcutKey::Digit2, "key_2", "key_g2"},
        {ShortcutKey::Digit3, "key_3", "key_g3"},   {ShortcutKey::Digit4, "key_4", "key_g4"},
        {ShortcutKey::Digit5, "key_5", "key_g5"},   {ShortcutKey::Digit6, "key_6", "key_g6"},
        {ShortcutKey::Digit7, "key_7", "key_g7"},   {ShortcutKey::Digit8, "key_8", "key_g8"},
        {ShortcutKey::Digit9, "key_9", "key_g9"},   {ShortcutKey::Digit0, "key_0", "key_g0"},
        {ShortcutKey::M, "key_menu", "key_menu"},   {ShortcutKey::Right, "key_right", "key_right"},
        {ShortcutKey::Left, "key_left", "key_left"}, {ShortcutKey::Down, "key_push", "key_push"},
        {ShortcutKey::Enter, "key_push", "key_push"}, {ShortcutKey::F, "key_f", "key_f"},
        {ShortcutKey::S, "key_scan", "key_scan"},   {ShortcutKey::KeypadDecimal, "key_no", "key_no"},
        {ShortcutKey::Period, "key_no", "key_no"},  {ShortcutKey::H, "key_hold_bar", "key_hold_bar"},
        {ShortcutKey::Space, "key_hold_bar", "key_hold_bar"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.unshifted);
        EXPECT_EQ(ShortcutTarget(r.key, kNone, false), r.unshifted);
        EXPECT_EQ(ShortcutTarget(r.key, kShift, false), r.shifted);
        EXPECT_EQ(ShortcutTarget(r.key, kCtrlShift, false), r.unshifted);
        EXPECT_EQ(ShortcutTarget(r.key, kShift, true), std::nullopt);
        EXPECT_EQ(ShortcutTarget(r.key, kNone, true), std::nullopt);
    }
}

TEST(Shortcuts, KeypadDigitIsTheSameAsTheMainKeyboardDigit) {
    KeyPad pad;
    ASSERT_EQ(ShortcutKeyFromVirtualKey(102), ShortcutKey::Digit6);
    ASSERT_EQ(ShortcutKeyFromVirtualKey(54), ShortcutKey::Digit6);
    EXPECT_EQ(Press(pad, *ShortcutKeyFromVirtualKey(102), kNone),
              std::vector<std::string>{"KEY,6,P"});
    EXPECT_EQ(ShortcutKeyFromVirtualKey(96), ShortcutKey::Digit0);
    EXPECT_EQ(ShortcutKeyFromVirtualKey(48), ShortcutKey::Digit0);
    EXPECT_EQ(ShortcutKeyFromVirtualKey(105), ShortcutKey::Digit9);
    EXPECT_EQ(ShortcutKeyFromVirtualKey(57), ShortcutKey::Digit9);
}

TEST(Shortcuts, VirtualKeysWithoutShortcut) {
    for (int code : {0, -1, 47, 58, 65, 95, 106, 111, 189, 191, 100000}) {
        EXPECT_EQ(ShortcutKeyFromVirtualKey(code), std::nullopt) << code;
    }
    EXPECT_EQ(ShortcutKeyFromVirtualKey(110), ShortcutKey::KeypadDecimal);
    EXPECT_EQ(ShortcutKeyFromVirtualKey(190), ShortcutKey::Period);
    EXPECT_EQ(ShortcutKeyFromVirtualKey(13), ShortcutKey::Enter);
    EXPECT_EQ(ShortcutKeyFromVirtualKey(70), ShortcutKey::F);
}

TEST(Shortcuts, FTwiceTogglesTheFunctionLatch) {
    KeyPad pad;
    const KeyClick first = pad.Click(*ShortcutTarget(ShortcutKey::F, kNone, false));
    EXPECT_EQ(SentTexts(first), std::vector<std::string>{"KEY,F,H"});
    EXPECT_EQ(first.picture, KeyPicture::Pressed);
    const KeyClick second = pad.Click(*ShortcutTarget(ShortcutKey::F, kShift, false));
    EXPECT_EQ(SentTexts(second), std::vector<std::string>{"KEY,F,R"});
    EXPECT_EQ(second.picture, KeyPicture::Released);
    EXPECT_EQ(pad.FunctionHeld(), "0");
}

TEST(Shortcuts, SpaceAndHHoldPeriodAndDecimalSayNo) {
    KeyPad pad;
    EXPECT_EQ(Press(pad, ShortcutKey::Space, kNone), std::vector<std::string>{"KEY,H,P"});
    EXPECT_EQ(Press(pad, ShortcutKey::H, kShift), std::vector<std::string>{"KEY,H,P"});
    EXPECT_EQ(Press(pad, ShortcutKey::Period, kNone), std::vector<std::string>{"KEY,.,P"});
    EXPECT_EQ(Press(pad, ShortcutKey::KeypadDecimal, kNone), std::vector<std::string>{"KEY,.,P"});
}

TEST(Shortcuts, NothingWhileTextEntryIsActive) {
    KeyPad pad;
    EXPECT_TRUE(Press(pad, ShortcutKey::Digit5, kNone, true).empty());
    EXPECT_TRUE(Press(pad, ShortcutKey::F, kNone, true).empty());
    EXPECT_EQ(pad.FunctionHeld(), "");
    EXPECT_EQ(Press(pad, ShortcutKey::Digit5, kNone, false), std::vector<std::string>{"KEY,5,P"});
}

}  // namespace
}  // namespace quorvane
