#pragma once
#include <QObject>

#include "input/FocusRules.h"
#include "input/Wheel.h"

class QKeyEvent;
class QWheelEvent;
class QWidget;

namespace quorvane {

class KeyPlayer;

// What the focused widget is to the shortcuts (nothing focused: the panel).
FocusHolder FocusHolderOf(const QWidget* widget);

// The keyboard shortcuts and the mouse wheel of a window: a shortcut key
// plays its key, a wheel notch turns the scanner's knob. A box the user
// types into keeps its keys, a focused control the keys it works with
// (FocusRules), and a view that scrolls keeps its wheel, also at its top or
// bottom (KeepsItsWheel); the shortcuts and the knob act elsewhere.
class ShortcutFilter : public QObject {
    Q_OBJECT
public:
    // Watches every widget of window (installed on the application).
    ShortcutFilter(QWidget& window, KeyPlayer& player);
    ~ShortcutFilter() override;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool HandleShortcut(QKeyEvent* event, FocusHolder holder);
    bool HandleWheel(QWheelEvent* event);

    QWidget& window_;
    KeyPlayer& player_;
    Wheel wheel_;
};

}  // namespace quorvane
