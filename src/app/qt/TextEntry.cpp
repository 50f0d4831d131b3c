#include "app/qt/TextEntry.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextEdit>

namespace quorvane {
namespace {
const char* kShortcutsProperty = "quorvaneShortcuts";

bool Scrolls(const QAbstractScrollArea* area) {
    return area->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff ||
           area->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff;
}
}  // namespace

bool KeepsItsKeys(const QWidget* widget) {
    if (!widget || widget->property(kShortcutsProperty).toBool()) return false;
    if (const auto* line = qobject_cast<const QLineEdit*>(widget)) return !line->isReadOnly();
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(widget)) return !text->isReadOnly();
    if (const auto* text = qobject_cast<const QTextEdit*>(widget)) return !text->isReadOnly();
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(widget)) return !spin->isReadOnly();
    if (const auto* list = qobject_cast<const QComboBox*>(widget)) return list->isEditable();
    // A table or tree whose cells the user edits: typing starts an edit,
    // Space ticks a box, the arrows move between cells.
    if (const auto* view = qobject_cast<const QAbstractItemView*>(widget)) {
        return view->editTriggers() != QAbstractItemView::NoEditTriggers && view->model() &&
               (view->model()->flags(view->currentIndex()) & Qt::ItemIsEditable);
    }
    return false;
}

void KeepTypedText(QComboBox* list) {
    list->setCompleter(nullptr);
    // The list matches the text to an item when its box is left or Enter is
    // pressed: those ties are cut, so only a pick from the list chooses.
    QObject::disconnect(list->lineEdit(), &QLineEdit::editingFinished, list, nullptr);
    QObject::disconnect(list->lineEdit(), &QLineEdit::returnPressed, list, nullptr);
}

void AllowShortcuts(QWidget* box) { box->setProperty(kShortcutsProperty, true); }

bool KeepsItsWheel(const QWidget* widget) {
    for (const QWidget* w = widget; w && !w->isWindow(); w = w->parentWidget()) {
        if (const auto* area = qobject_cast<const QAbstractScrollArea*>(w)) return Scrolls(area);
        if (qobject_cast<const QAbstractSpinBox*>(w)) return true;
    }
    return false;
}

}  // namespace quorvane
