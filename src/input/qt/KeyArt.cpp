#include "input/qt/KeyArt.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace quorvane {
namespace {

void DrawSymbol(QPainter& p, KeySymbol symbol, const QRectF& box) {
    const QPointF c = box.center();
    const qreal r = std::min(box.width(), box.height()) * 0.36;
    QPen pen(p.pen());
    pen.setWidthF(1.4);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (symbol) {
    case KeySymbol::None:
        break;
    case KeySymbol::LightBulb: {
        p.drawEllipse(QPointF(c.x(), c.y() - r * 0.25), r * 0.7, r * 0.7);
        p.drawLine(QPointF(c.x() - r * 0.3, c.y() + r * 0.6), QPointF(c.x() + r * 0.3, c.y() + r * 0.6));
        p.drawLine(QPointF(c.x() - r * 0.25, c.y() + r * 0.9), QPointF(c.x() + r * 0.25, c.y() + r * 0.9));
        break;
    }
    case KeySymbol::Power:
        p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 120 * 16, -240 * 16);
        p.drawLine(QPointF(c.x(), c.y() - r * 1.1), QPointF(c.x(), c.y()));
        break;
    case KeySymbol::ClockwiseArrow:
    case KeySymbol::AnticlockwiseArrow: {
        const bool clockwise = symbol == KeySymbol::ClockwiseArrow;
        const QRectF arc(c.x() - r, c.y() - r, 2 * r, 2 * r);
        p.drawArc(arc, 200 * 16, clockwise ? -220 * 16 : 220 * 16);
        const qreal angle = clockwise ? -20.0 : 60.0;  // where the arc ends, in degrees
        const qreal rad = angle * 3.14159265 / 180.0;
        const QPointF tip(c.x() + r * std::cos(rad), c.y() - r * std::sin(rad));
        p.setBrush(p.pen().color());
        const QPolygonF head = clockwise
            ? QPolygonF{tip, QPointF(tip.x() - 3.5, tip.y() - 2), QPointF(tip.x() + 1, tip.y() - 4)}
            : QPolygonF{tip, QPointF(tip.x() - 3, tip.y() - 3), QPointF(tip.x() + 3, tip.y() - 3)};
        p.drawPolygon(head);
        break;
    }
    case KeySymbol::ChevronDown:
        p.drawPolyline(QPolygonF() << QPointF(c.x() - r, c.y() - r * 0.4) << QPointF(c.x(), c.y() + r * 0.5)
                                   << QPointF(c.x() + r, c.y() - r * 0.4));
        break;
    case KeySymbol::CircledC:
    case KeySymbol::CircledCFollowedByO: {
        const bool withO = symbol == KeySymbol::CircledCFollowedByO;
        const QPointF at = withO ? QPointF(c.x() - r * 0.8, c.y()) : c;
        p.drawEllipse(at, r, r);
        QFont font = p.font();
        font.setPixelSize(static_cast<int>(r * 1.5));
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r), Qt::AlignCenter, "C");
        if (withO) p.drawText(QRectF(at.x() + r, at.y() - r, 2 * r, 2 * r), Qt::AlignCenter, "O");
        break;
    }
    case KeySymbol::LockKey:
        p.drawEllipse(QPointF(c.x() - r * 0.6, c.y()), r * 0.45, r * 0.45);
        p.drawLine(QPointF(c.x() - r * 0.15, c.y()), QPointF(c.x() + r, c.y()));
        p.drawLine(QPointF(c.x() + r * 0.6, c.y()), QPointF(c.x() + r * 0.6, c.y() + r * 0.4));
        p.drawLine(QPointF(c.x() + r, c.y()), QPointF(c.x() + r, c.y() + r * 0.4));
        break;
    }
}

}  // namespace

QPixmap DrawKeyPicture(const KeyLegend& legend, QSize size, bool pressed) {
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body = QRectF(0.5, pressed ? 1.5 : 0.5, size.width() - 1.0, size.height() - 2.0);
    QLinearGradient shade(body.topLeft(), body.bottomLeft());
    shade.setColorAt(0, pressed ? QColor(40, 40, 44) : QColor(92, 94, 100));
    shade.setColorAt(1, pressed ? QColor(24, 24, 28) : QColor(52, 53, 58));
    p.setBrush(shade);
    p.setPen(QPen(QColor(20, 20, 22), 1));
    p.drawRoundedRect(body, 5, 5);

    p.setPen(pressed ? QColor(200, 200, 200) : QColor(245, 245, 245));
    QFont font("DejaVu Sans");
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    QRectF inner = body.adjusted(2, 1, -2, -1);
    if (legend.symbol != KeySymbol::None) {
        if (!legend.text.empty()) {
            const QRectF left(inner.left(), inner.top(), inner.width() / 2, inner.height());
            DrawSymbol(p, legend.symbol, left);
            inner.setLeft(left.right());
        } else {
            DrawSymbol(p, legend.symbol, inner);
        }
        p.setFont(font);
    }
    if (!legend.text.empty()) {
        const QString text = QString::fromStdString(legend.text);
        if (legend.mark.empty()) {
            p.drawText(inner, Qt::AlignCenter, text);
        } else {
            QFont small = font;
            small.setPixelSize(7);
            small.setBold(false);
            const qreal markWidth = inner.width() * 0.35;
            const bool markLeft = legend.markSide == MarkSide::Left;
            const QRectF markBox = markLeft ? QRectF(inner.left(), inner.top(), markWidth, inner.height())
                                            : QRectF(inner.right() - markWidth, inner.top(), markWidth, inner.height());
            const QRectF textBox = markLeft ? inner.adjusted(markWidth, 0, 0, 0) : inner.adjusted(0, 0, -markWidth, 0);
            p.drawText(textBox, Qt::AlignCenter, text);
            p.setFont(small);
            p.drawText(markBox, Qt::AlignCenter, QString::fromStdString(legend.mark));
        }
    }
    return picture;
}

}  // namespace quorvane
