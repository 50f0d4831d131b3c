#include "input/qt/KeyButton.h"

#include <QPainter>

namespace quorvane {

KeyButton::KeyButton(const QPixmap& released, const QPixmap& pressed, bool latching, QWidget* parent)
    : QAbstractButton(parent), released_(released), pressed_(pressed), latching_(latching) {
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void KeyButton::SetLatched(bool held) {
    latched_ = held;
    update();
}

bool KeyButton::ShowsPressed() const { return latching_ ? latched_ : isDown(); }

void KeyButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), ShowsPressed() ? pressed_ : released_);
}

}  // namespace quorvane
