#include "input/qt/ShortcutKeys.h"

#include <QKeyEvent>

namespace quorvane {
namespace {

ShortcutKey Digit(int digit) { return static_cast<ShortcutKey>(static_cast<int>(ShortcutKey::Digit0) + digit); }

}  // namespace

std::optional<ShortcutKey> ShortcutKeyOf(const QKeyEvent& event, NativeKeyboard keyboard) {
    if (const auto digit = DigitRowKey(keyboard, event.nativeScanCode(), event.nativeVirtualKey())) return Digit(*digit);
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return Digit(key - Qt::Key_0);
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    switch (key) {
    case Qt::Key_M: return ShortcutKey::M;
    case Qt::Key_F: return ShortcutKey::F;
    case Qt::Key_S: return ShortcutKey::S;
    case Qt::Key_H: return ShortcutKey::H;
    case Qt::Key_Space: return ShortcutKey::Space;
    case Qt::Key_Right: return ShortcutKey::Right;
    case Qt::Key_Left: return ShortcutKey::Left;
    case Qt::Key_Down: return ShortcutKey::Down;
    case Qt::Key_Return:
    case Qt::Key_Enter: return ShortcutKey::Enter;
    case Qt::Key_Period: return keypad ? ShortcutKey::KeypadDecimal : ShortcutKey::Period;
    case Qt::Key_Comma:
        if (keypad) return ShortcutKey::KeypadDecimal;
        return std::nullopt;
    default: return std::nullopt;
    }
}

}  // namespace quorvane
