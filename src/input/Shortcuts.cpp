#include "input/Shortcuts.h"

namespace quorvane {

namespace {

struct ShortcutRow {
    ShortcutKey key;
    const char* unshifted;
    const char* shifted;
};

// Shifted digits run the function combinations; every other key does the
// same with and without Shift.
constexpr ShortcutRow kShortcuts[] = {
    {ShortcutKey::Digit1, "key_1", "key_g1"},
    {ShortcutKey::Digit2, "key_2", "key_g2"},
    {ShortcutKey::Digit3, "key_3", "key_g3"},
    {ShortcutKey::Digit4, "key_4", "key_g4"},
    {ShortcutKey::Digit5, "key_5", "key_g5"},
    {ShortcutKey::Digit6, "key_6", "key_g6"},
    {ShortcutKey::Digit7, "key_7", "key_g7"},
    {ShortcutKey::Digit8, "key_8", "key_g8"},
    {ShortcutKey::Digit9, "key_9", "key_g9"},
    {ShortcutKey::Digit0, "key_0", "key_g0"},
    {ShortcutKey::M, "key_menu", "key_menu"},
    {ShortcutKey::Right, "key_right", "key_right"},
    {ShortcutKey::Left, "key_left", "key_left"},
    {ShortcutKey::Down, "key_push", "key_push"},
    {ShortcutKey::Enter, "key_push", "key_push"},
    {ShortcutKey::F, "key_f", "key_f"},
    {ShortcutKey::S, "key_scan", "key_scan"},
    {ShortcutKey::KeypadDecimal, "key_no", "key_no"},
    {ShortcutKey::Period, "key_no", "key_no"},
    {ShortcutKey::H, "key_hold_bar", "key_hold_bar"},
    {ShortcutKey::Space, "key_hold_bar", "key_hold_bar"},
};

}  // namespace

bool IsShifted(Modifiers modifiers) {
    return modifiers.shift && !modifiers.ctrl && !modifiers.alt;
}

std::optional<std::string> ShortcutTarget(ShortcutKey key, Modifiers modifiers,
                                          bool textEntryActive) {
    if (textEntryActive) return std::nullopt;
    for (const ShortcutRow& row : kShortcuts) {
        if (row.key == key) return std::string(IsShifted(modifiers) ? row.shifted : row.unshifted);
    }
    return std::nullopt;
}

std::optional<ShortcutKey> ShortcutKeyFromVirtualKey(int virtualKey) {
    if (virtualKey >= 48 && virtualKey <= 57) {
        return static_cast<ShortcutKey>(static_cast<int>(ShortcutKey::Digit0) + virtualKey - 48);
    }
    if (virtualKey >= 96 && virtualKey <= 105) {
        return static_cast<ShortcutKey>(static_cast<int>(ShortcutKey::Digit0) + virtualKey - 96);
    }
    switch (virtualKey) {
    case 77: return ShortcutKey::M;
    case 70: return ShortcutKey::F;
    case 83: return ShortcutKey::S;
    case 72: return ShortcutKey::H;
    case 32: return ShortcutKey::Space;
    case 39: return ShortcutKey::Right;
    case 37: return ShortcutKey::Left;
    case 40: return ShortcutKey::Down;
    case 13: return ShortcutKey::Enter;
    case 110: return ShortcutKey::KeypadDecimal;
    case 190: return ShortcutKey::Period;
    default: return std::nullopt;
    }
}

}  // namespace quorvane
