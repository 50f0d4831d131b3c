#pragma once
#include <optional>
#include <string>

namespace quorvane {

// Keyboard keys that have a shortcut, independent of the platform's key
// codes. Digits stand for the main keyboard and the numeric keypad alike.
enum class ShortcutKey {
    Digit0, Digit1, Digit2, Digit3, Digit4, Digit5, Digit6, Digit7, Digit8, Digit9,
    M, F, S, H,
    Space,
    Right, Left, Down,
    Enter,
    KeypadDecimal,
    Period,
};

struct Modifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// Shifted means Shift alone; Shift with Ctrl or Alt counts as unshifted.
bool IsShifted(Modifiers modifiers);

// The key whose click action a key press runs, or nothing. Nothing at all
// while a free-text box has the focus (textEntryActive).
std::optional<std::string> ShortcutTarget(ShortcutKey key, Modifiers modifiers,
                                          bool textEntryActive);

// A Windows virtual-key code as a shortcut key (digits 48-57 and 96-105,
// letters by their capital code, arrows, Enter, Space, 110 and 190);
// nothing for any other code.
std::optional<ShortcutKey> ShortcutKeyFromVirtualKey(int virtualKey);

}  // namespace quorvane
