#pragma once
#include <optional>

#include "input/DigitRow.h"
#include "input/Shortcuts.h"

class QKeyEvent;

namespace quorvane {

// The shortcut key a key press stands for, whatever the keyboard layout: a
// key of the digit row by its physical place (keyboard: how this platform
// names physical keys), else a digit by the key it types (numeric keypad
// included), else M, F, S, H, Space, the arrows, Enter and the period.
std::optional<ShortcutKey> ShortcutKeyOf(const QKeyEvent& event, NativeKeyboard keyboard = kThisKeyboard);

}  // namespace quorvane
