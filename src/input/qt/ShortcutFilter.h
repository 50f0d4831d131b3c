#pragma once
#include <QObject>

#include "input/Wheel.h"

class QKeyEvent;
class QWheelEvent;
class QWidget;

namespace quorvane {

class KeyPlayer;

// The keyboard shortcuts and the mouse wheel of a window: a shortcut key
// plays its key, a wheel notch turns the scanner's knob. A box the user
// types into keeps its keys and a view that scrolls keeps its wheel
// (KeepsItsKeys, KeepsItsWheel); the shortcuts and the knob act elsewhere.
class ShortcutFilter : public QObject {
    Q_OBJECT
public:
    // Watches every widget of window (installed on the application).
    ShortcutFilter(QWidget& window, KeyPlayer& player);
    ~ShortcutFilter() override;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool HandleShortcut(QKeyEvent* event);
    bool HandleWheel(QWheelEvent* event);

    QWidget& window_;
    KeyPlayer& player_;
    Wheel wheel_;
};

}  // namespace quorvane
