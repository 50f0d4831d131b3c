#pragma once
#include <QAbstractButton>
#include <QPixmap>

namespace quorvane {

// A keypad key: a picture button with a released and a pressed picture.
// Plain keys show the pressed picture while the mouse button is down and the
// released one again on release (the click, and so the command, comes after
// that, and only when released over the key). Latching keys show whichever
// picture their latch says.
class KeyButton : public QAbstractButton {
    Q_OBJECT
public:
    KeyButton(const QPixmap& released, const QPixmap& pressed, bool latching, QWidget* parent);
    void SetLatched(bool held);
    bool ShowsPressed() const;
    QSize sizeHint() const override { return released_.deviceIndependentSize().toSize(); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap released_;
    QPixmap pressed_;
    bool latching_;
    bool latched_ = false;
};

}  // namespace quorvane
