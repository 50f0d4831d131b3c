#pragma once
#include <QAbstractButton>
#include <QPixmap>

namespace quorvane {

// A keypad key: a picture button with a released and a pressed picture.
// Plain keys show the pressed picture while the mouse button is down and the
// released one again on release (the click, and so the command, comes after
// that, and only when released over the key). Latching keys show whichever
// picture their latch says. Tab reaches a key, which then shows a focus
// ring; Space or Enter press it.
class KeyButton : public QAbstractButton {
    Q_OBJECT
public:
    KeyButton(const QPixmap& released, const QPixmap& pressed, bool latching, QWidget* parent);
    void SetLatched(bool held);
    // Its accessible name, description and tooltip from the key's spoken
    // name (KeyNames); the object name must be set first.
    void NameAfterKey();
    bool ShowsPressed() const;
    QSize sizeHint() const override { return released_.deviceIndependentSize().toSize(); }

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPixmap released_;
    QPixmap pressed_;
    bool latching_;
    bool latched_ = false;
};

}  // namespace quorvane
