#include "input/DigitRow.h"
#include "input/Shortcuts.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace quorvane {
namespace {

constexpr Modifiers kNone{};
constexpr Modifiers kShift{true, false, false};

TEST(Shortcuts, KeyPressesRunTheirKeys) {
    const std::vector<std::tuple<ShortcutKey, Modifiers, std::string>> rows = {
        // Digits from key events: tests/ui/shortcut_keys_test.cpp.
        {ShortcutKey::Digit3, {true, false, true}, "key_3"},  // Alt+Shift
        {ShortcutKey::Space, kNone, "key_hold_bar"},
        {ShortcutKey::Period, kNone, "key_no"},
        {ShortcutKey::F, kShift, "key_f"},
    };
    for (const auto& [key, modifiers, target] : rows) {
        EXPECT_EQ(ShortcutTarget(key, modifiers, false), target) << target;
        EXPECT_EQ(ShortcutTarget(key, modifiers, true), std::nullopt) << "while typing: " << target;
    }
}

TEST(Shortcuts, VirtualKeys) {
    const std::vector<std::pair<int, std::optional<ShortcutKey>>> codes = {
        {54, ShortcutKey::Digit6},  {102, ShortcutKey::Digit6}, {96, ShortcutKey::Digit0},
        {105, ShortcutKey::Digit9}, {110, ShortcutKey::KeypadDecimal}, {190, ShortcutKey::Period},
        {72, ShortcutKey::H},       {47, std::nullopt},         {58, std::nullopt},
    };
    for (const auto& [code, key] : codes) EXPECT_EQ(ShortcutKeyFromVirtualKey(code), key) << code;
    // Keypad 6 presses key_6 like the main keyboard's 6.
    EXPECT_EQ(ShortcutTarget(*ShortcutKeyFromVirtualKey(102), kNone, false), "key_6");
}

TEST(DigitRow, EachPlatformNamesTheDigitRowByItsOwnCodes) {
    struct Case {
        NativeKeyboard keyboard;
        uint32_t scanCode, virtualKey;
        std::optional<int> digit;
    } cases[] = {
        {NativeKeyboard::Xkb, 10, 0, 1},          {NativeKeyboard::Xkb, 19, 0, 0},
        {NativeKeyboard::Xkb, 9, 0, std::nullopt}, {NativeKeyboard::Xkb, 20, 19, std::nullopt},
        {NativeKeyboard::Windows, 0x02, 0, 1},    {NativeKeyboard::Windows, 0x0B, 0, 0},
        {NativeKeyboard::Windows, 0x0C, 0x0B, std::nullopt},
        {NativeKeyboard::MacOS, 0, 0x17, 5},      {NativeKeyboard::MacOS, 0, 0x16, 6},
        {NativeKeyboard::MacOS, 0, 0x1D, 0},      {NativeKeyboard::MacOS, 0x1D, 0x18, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DigitRowKey(c.keyboard, c.scanCode, c.virtualKey), c.digit)
            << static_cast<int>(c.keyboard) << " " << c.scanCode << " " << c.virtualKey;
    }
}

}  // namespace
}  // namespace quorvane
