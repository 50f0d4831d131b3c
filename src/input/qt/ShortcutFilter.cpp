#include "input/qt/ShortcutFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QWidget>

#include "app/qt/TextEntry.h"
#include "input/Shortcuts.h"
#include "input/qt/KeyPlayer.h"
#include "input/qt/ShortcutKeys.h"

namespace quorvane {

ShortcutFilter::ShortcutFilter(QWidget& window, KeyPlayer& player)
    : QObject(&window), window_(window), player_(player) {
    qApp->installEventFilter(this);
}

ShortcutFilter::~ShortcutFilter() { qApp->removeEventFilter(this); }

bool ShortcutFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::Wheel) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &window_) return false;
    if (event->type() == QEvent::Wheel) return !KeepsItsWheel(widget) && HandleWheel(static_cast<QWheelEvent*>(event));
    // A key goes to the window's focus widget first (the window's own, which
    // stays right when the native window is made anew); a key that widget
    // passed on to its parents (a line box passes Enter on) is not taken
    // for a shortcut a second time.
    const QWidget* focused = window_.focusWidget();
    if (focused && widget != focused) return false;
    // Keys typed into a box are the box's own, Enter included.
    if (KeepsItsKeys(widget)) return false;
    return HandleShortcut(static_cast<QKeyEvent*>(event));
}

bool ShortcutFilter::HandleShortcut(QKeyEvent* event) {
    const auto key = ShortcutKeyOf(*event);
    if (!key) return false;
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
