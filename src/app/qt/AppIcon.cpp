#include "app/qt/AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace quorvane {
namespace {

constexpr double kSide = 256;  // the units of the shapes below

struct Shape {
    bool circle;  // else a rounded rectangle
    double x, y, width, height, radius;
    const char* colour;
};

const Shape kShapes[] = {
    {false, 8, 8, 240, 240, 48, "#3c3e46"},    // the tile, as the logo's background
    {true, 36, 36, 184, 184, 0, "#f6b261"},    // the amber display disc
    {false, 72, 96, 112, 24, 10, "#3c3e46"},   // display line 1
    {false, 72, 136, 76, 24, 10, "#3c3e46"},   // display line 2
};

}  // namespace

void PaintAppIcon(QPainter& painter, const QRectF& place) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(place.topLeft());
    painter.scale(place.width() / kSide, place.height() / kSide);
    painter.setPen(Qt::NoPen);
    for (const Shape& s : kShapes) {
        painter.setBrush(QColor(s.colour));
        const QRectF r(s.x, s.y, s.width, s.height);
        if (s.circle) {
            painter.drawEllipse(r);
        } else {
            painter.drawRoundedRect(r, s.radius, s.radius);
        }
    }
    painter.restore();
}

QByteArray AppIconSvg() {
    QByteArray svg = QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                                "viewBox=\"0 0 256 256\">\n");
    for (const Shape& s : kShapes) {
        if (s.circle) {
            svg += QString("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\"/>\n")
                       .arg(s.x + s.width / 2).arg(s.y + s.height / 2).arg(s.width / 2).arg(s.colour).toUtf8();
        } else {
            svg += QString("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"%6\"/>\n")
                       .arg(s.x).arg(s.y).arg(s.width).arg(s.height).arg(s.radius).arg(s.colour).toUtf8();
        }
    }
    return svg + "</svg>\n";
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        PaintAppIcon(painter, QRectF(0, 0, size, size));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace quorvane
