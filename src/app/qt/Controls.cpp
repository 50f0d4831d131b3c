#include "app/qt/Controls.h"

#include <QLabel>
#include <QLineEdit>

namespace quorvane {

void ShowElided(QWidget* box, const QString& text) {
    const int room = box->contentsRect().width() - 4;
    const QString shown = box->fontMetrics().horizontalAdvance(text) <= room
                              ? text
                              : box->fontMetrics().elidedText(text, Qt::ElideMiddle, room);
    box->setToolTip(text);
    if (auto* label = qobject_cast<QLabel*>(box)) {
        if (label->text() != shown) label->setText(shown);
    } else if (auto* line = qobject_cast<QLineEdit*>(box)) {
        if (line->text() != shown) line->setText(shown);
    }
}

}  // namespace quorvane
