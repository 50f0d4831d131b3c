#include "input/qt/ShortcutFilter.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTextEdit>
#include <QWheelEvent>
#include <QWidget>

#include "app/qt/TextEntry.h"
#include "input/FocusRules.h"
#include "input/Shortcuts.h"
#include "input/qt/KeyButton.h"
#include "input/qt/KeyPlayer.h"
#include "input/qt/ShortcutKeys.h"

namespace quorvane {
namespace {

bool IsText(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget) ||
           qobject_cast<const QTextEdit*>(widget);
}

}  // namespace

FocusHolder FocusHolderOf(const QWidget* widget) {
    if (!widget) return FocusHolder::Panel;
    if (KeepsItsKeys(widget)) return FocusHolder::TextBox;
    if (qobject_cast<const KeyButton*>(widget)) return FocusHolder::Key;
    if (qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QTabBar*>(widget)) {
        return FocusHolder::Button;
    }
    // A read-only text that has the focus is being read: its arrows move the
    // caret a screen reader follows.
    if (qobject_cast<const QAbstractItemView*>(widget) || qobject_cast<const QComboBox*>(widget) ||
        qobject_cast<const QAbstractSlider*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget) ||
        IsText(widget)) {
        return FocusHolder::Chooser;
    }
    return FocusHolder::Panel;
}

ShortcutFilter::ShortcutFilter(QWidget& window, KeyPlayer& player)
    : QObject(&window), window_(window), player_(player) {
    qApp->installEventFilter(this);
}

ShortcutFilter::~ShortcutFilter() { qApp->removeEventFilter(this); }

bool ShortcutFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::Wheel) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &window_) return false;
    if (event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        // A list at its top or bottom lets the wheel go on to its parents:
        // what counts is where the wheel started, the widget under the pointer.
        const QWidget* under = window_.childAt(window_.mapFromGlobal(wheel->globalPosition().toPoint()));
        return !KeepsItsWheel(widget) && !KeepsItsWheel(under) && HandleWheel(wheel);
    }
    // A key goes to the window's focus widget first (the window's own, which
    // stays right when the native window is made anew); a key that widget
    // passed on to its parents (a line box passes Enter on) is not taken
    // for a shortcut a second time.
    const QWidget* focused = window_.focusWidget();
    if (focused && widget != focused) return false;
    return HandleShortcut(static_cast<QKeyEvent*>(event), FocusHolderOf(focused));
}

bool ShortcutFilter::HandleShortcut(QKeyEvent* event, FocusHolder holder) {
    const auto key = ShortcutKeyOf(*event);
    // Keys typed into a box are the box's own, and a focused control keeps
    // the keys it works with (ShortcutActs).
    if (!key || !ShortcutActs(holder, *key)) return false;
    const Qt::KeyboardModifiers mods = event->modifiers();
    const Modifiers modifiers{(mods & Qt::ShiftModifier) != 0, (mods & Qt::ControlModifier) != 0,
                              (mods & Qt::AltModifier) != 0};
    const auto target = ShortcutTarget(*key, modifiers, false);
    if (!target) return false;
    player_.Click(*target);
    return true;
}

bool ShortcutFilter::HandleWheel(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) return true;
    if (const auto key = wheel_.Turn(delta)) player_.Click(*key);
    return true;
}

}  // namespace quorvane
