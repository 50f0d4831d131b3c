// Key presses as German, French and US keyboards deliver them on each
// platform, down to the key whose click action they run.
#include <QKeyEvent>
#include <gtest/gtest.h>

#include "input/qt/ShortcutKeys.h"

namespace quorvane {
namespace {

using Kb = NativeKeyboard;
constexpr auto kShift = Qt::ShiftModifier;
constexpr auto kNone = Qt::NoModifier;

struct Press {
    const char* what;
    Kb keyboard;
    int key;
    Qt::KeyboardModifiers modifiers;
    quint32 scanCode, virtualKey;
    const char* text;
    const char* target;  // nullptr: no shortcut
};

TEST(ShortcutKeys, TheDigitRowIsKnownByItsPhysicalKeyOnEveryLayoutAndPlatform) {
    const Press presses[] = {
        {"German Shift+6", Kb::Xkb, Qt::Key_Ampersand, kShift, 15, 0x26, "&", "key_g6"},
        {"German 6", Kb::Xkb, Qt::Key_6, kNone, 15, 0x36, "6", "key_6"},
        {"French 1 key", Kb::Xkb, Qt::Key_Ampersand, kNone, 10, 0x26, "&", "key_1"},
        {"French Shift+1", Kb::Xkb, Qt::Key_1, kShift, 10, 0x31, "1", "key_g1"},
        {"US Shift+3", Kb::Xkb, Qt::Key_NumberSign, kShift, 12, 0x23, "#", "key_g3"},
        {"US Ctrl+Shift+3", Kb::Xkb, Qt::Key_NumberSign, kShift | Qt::ControlModifier, 12, 0x23, "#", "key_3"},
        {"keypad 6", Kb::Xkb, Qt::Key_6, Qt::KeypadModifier, 85, 0xffb6, "6", "key_6"},
        {"keypad decimal", Kb::Xkb, Qt::Key_Period, Qt::KeypadModifier, 91, 0xffae, ".", "key_no"},
        {"German Shift+6 on Windows", Kb::Windows, Qt::Key_Ampersand, kShift, 0x07, 0x36, "&", "key_g6"},
        {"French 0 key on Windows", Kb::Windows, Qt::Key_Agrave, kNone, 0x0B, 0x30, "\u00e0", "key_0"},
        {"Q on Windows", Kb::Windows, Qt::Key_Q, kNone, 0x10, 0x51, "q", nullptr},
        {"Tab on Windows", Kb::Windows, Qt::Key_Tab, kNone, 0x0F, 0x09, "\t", nullptr},
        {"- on Windows", Kb::Windows, Qt::Key_Minus, kNone, 0x0C, 0xBD, "-", nullptr},
        {"French 1 key on a Mac", Kb::MacOS, Qt::Key_Ampersand, kNone, 0, 0x12, "&", "key_1"},
        {"German Shift+7 on a Mac", Kb::MacOS, Qt::Key_Slash, kShift, 0, 0x1A, "/", "key_g7"},
        {"Q on a Mac", Kb::MacOS, Qt::Key_Q, kNone, 0, 0x0C, "q", nullptr},
        {"a digit with no native code", Kb::Xkb, Qt::Key_5, kShift, 0, 0, "%", "key_g5"},
        {"H", Kb::Xkb, Qt::Key_H, kShift, 43, 0x48, "H", "key_hold_bar"},
    };
    for (const Press& p : presses) {
        const QKeyEvent event(QEvent::KeyPress, p.key, p.modifiers, p.scanCode, p.virtualKey, 0, QString::fromUtf8(p.text));
        const auto key = ShortcutKeyOf(event, p.keyboard);
        const Modifiers modifiers{(p.modifiers & Qt::ShiftModifier) != 0, (p.modifiers & Qt::ControlModifier) != 0,
                                  false};
        const auto target = key ? ShortcutTarget(*key, modifiers, false) : std::nullopt;
        EXPECT_EQ(target, p.target ? std::optional<std::string>(p.target) : std::nullopt) << p.what;
    }
}

}  // namespace
}  // namespace quorvane
