#include "window/Logo.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/qt/AppIcon.h"

namespace quorvane {
namespace {
const QColor kAmber(246, 178, 97);
}  // namespace

Logo::Logo(QWidget* parent) : QLabel(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName("Quorvane");
}

void Logo::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 62, 70));
    p.drawRoundedRect(r, 6, 6);
    PaintAppIcon(p, QRectF(r.left() + 2, r.center().y() - 11, 22, 22));
    QFont font("DejaVu Sans");
    font.setPixelSize(15);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kAmber);
    p.drawText(r.adjusted(26, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, "Quorvane");
    if (hasFocus()) {
        p.setPen(QPen(kAmber, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 5, 5);
    }
}

void Logo::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    emit Clicked();
}

}  // namespace quorvane
