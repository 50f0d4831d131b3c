#include "monitor/qt/SignalLevelBar.h"

#include <QPainter>
#include <algorithm>

namespace quorvane {
namespace {
constexpr int kStrongestLevel = 255;
// Drawn like a segment of the display: a faint amber trough that dark
// segments fill, as the display's own characters are dark on amber.
const QColor kTrough(0xE8, 0xA8, 0x5C);
const QColor kFill(0x40, 0x30, 0x10);
}  // namespace

SignalLevelBar::SignalLevelBar(QWidget* parent) : QWidget(parent) {
    setObjectName("signal_level");
    setAccessibleName("Signal level");
    setToolTip("Signal level");
    // The bar paints every pixel itself: nothing behind it needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize SignalLevelBar::sizeHint() const { return {8, 40}; }

int SignalLevelBar::FilledLength(std::optional<int> level) const {
    if (!level) return 0;
    const int length = std::max(width(), height());
    return std::clamp(*level, 0, kStrongestLevel) * length / kStrongestLevel;
}

void SignalLevelBar::SetLevel(std::optional<int> level) {
    if (level == level_) return;
    const bool repaint = FilledLength(level) != FilledLength(level_);
    level_ = level;
    setToolTip(level ? QString("Signal level %1 of 255").arg(*level) : QString("Signal level"));
    if (repaint) update();
}

void SignalLevelBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kTrough);
    const int filled = FilledLength(level_);
    if (filled == 0) return;
    // Upwards from the bottom when standing, rightwards when lying.
    if (height() >= width()) {
        painter.fillRect(QRect(0, height() - filled, width(), filled), kFill);
    } else {
        painter.fillRect(QRect(0, 0, filled, height()), kFill);
    }
}

}  // namespace quorvane
