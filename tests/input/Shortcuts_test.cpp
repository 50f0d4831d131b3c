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

}  // namespace
}  // namespace quorvane
