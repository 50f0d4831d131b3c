#pragma once
#include <QByteArray>
#include <QIcon>
#include <QRectF>

class QPainter;

namespace quorvane {

// The program's mark: a dark tile holding the amber display disc with its two
// text lines. One description of it is painted in the logo and the window
// icon, rendered to the installed PNG icons and written as the SVG icon.
void PaintAppIcon(QPainter& painter, const QRectF& place);
QByteArray AppIconSvg();
// The mark at the usual icon sizes, for the window.
QIcon AppIcon();

}  // namespace quorvane
