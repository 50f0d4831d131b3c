#include "input/qt/KeyButton.h"

#include <QKeyEvent>
#include <QPainter>

#include "input/KeyNames.h"

namespace quorvane {

KeyButton::KeyButton(const QPixmap& released, const QPixmap& pressed, bool latching, QWidget* parent)
    : QAbstractButton(parent), released_(released), pressed_(pressed), latching_(latching) {
    // Tab reaches a key; a click leaves the focus where it was, so that
    // the keyboard shortcuts go on acting where they did.
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
}

void KeyButton::NameAfterKey() {
    const KeyName name = SpokenKeyName(objectName().toStdString());
    if (name.spoken.empty()) return;
    setAccessibleName(QString::fromStdString(name.spoken));
    setAccessibleDescription(QString::fromStdString(name.hint));
    setToolTip(name.hint.empty() ? QString::fromStdString(name.spoken)
                                 : QString::fromStdString(name.spoken + " (" + name.hint + ")"));
}

void KeyButton::SetLatched(bool held) {
    latched_ = held;
    update();
}

bool KeyButton::ShowsPressed() const { return latching_ ? latched_ : isDown(); }

void KeyButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), ShowsPressed() ? pressed_ : released_);
    if (hasFocus()) {
        // The focus shows as a bright ring that stands out on the dark keys
        // and on the window's grey alike.
        painter.setPen(QPen(QColor(255, 200, 0), 2));
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

void KeyButton::keyPressEvent(QKeyEvent* event) {
    // Enter presses a focused key as Space does.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        animateClick();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

}  // namespace quorvane
