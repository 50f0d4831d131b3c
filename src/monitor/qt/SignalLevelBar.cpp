#include "monitor/qt/SignalLevelBar.h"

#include <QPainter>
#include <algorithm>

namespace quorvane {
namespace {
constexpr int kStrongestLevel = 255;
// The bar stands on the left; ticks at each quarter of the scale beside it,
// and the level's number above both.
constexpr int kBarWidth = 8;
constexpr int kTickLength = 3;
constexpr int kNumberHeight = 11;
// Drawn like a segment of the display: a faint amber trough that dark
// segments fill, as the display's own characters are dark on amber.
const QColor kTrough(0xE8, 0xA8, 0x5C);
const QColor kFill(0x40, 0x30, 0x10);
const QColor kAmber(246, 178, 97);  // the display behind it
}  // namespace

SignalLevelBar::SignalLevelBar(QWidget* parent) : QWidget(parent) {
    setObjectName("signal_level");
    setAccessibleName("Signal level");
    setToolTip("Signal level");
    // The bar paints every pixel itself: nothing behind it needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize SignalLevelBar::sizeHint() const { return {24, 45}; }

QRect SignalLevelBar::Bar() const { return QRect(0, kNumberHeight, kBarWidth, std::max(0, height() - kNumberHeight)); }

int SignalLevelBar::FilledLength(std::optional<int> level) const {
    if (!level) return 0;
    return std::clamp(*level, 0, kStrongestLevel) * Bar().height() / kStrongestLevel;
}

void SignalLevelBar::SetLevel(std::optional<int> level) {
    if (level == level_) return;
    // The number changes with every level; the bar only when its length does.
    const bool repaint = FilledLength(level) != FilledLength(level_) || level.has_value() || level_.has_value();
    level_ = level;
    setToolTip(level ? QString("Signal level %1 of 255").arg(*level) : QString("Signal level"));
    if (repaint) update();
}

void SignalLevelBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kAmber);
    const QRect bar = Bar();
    painter.fillRect(bar, kTrough);
    // The scale: a tick at 0, a quarter, a half, three quarters and full.
    painter.setPen(kFill);
    for (int quarter = 0; quarter <= 4; ++quarter) {
        const int y = std::min(bar.bottom(), bar.top() + bar.height() * (4 - quarter) / 4);
        painter.drawLine(bar.right() + 2, y, bar.right() + 1 + kTickLength, y);
    }
    if (!level_) return;
    const int filled = FilledLength(level_);  // upwards from the bottom
    painter.fillRect(QRect(bar.left(), bar.bottom() + 1 - filled, bar.width(), filled), kFill);
    QFont font("DejaVu Sans Mono");
    font.setPixelSize(kNumberHeight - 1);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, width(), kNumberHeight), Qt::AlignLeft | Qt::AlignTop, QString::number(*level_));
}

}  // namespace quorvane
