#pragma once
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

namespace quorvane {

// Boxes the user types free text into carry this mark: while one of them has
// the keyboard focus the window's shortcuts stay quiet, so the keys reach the
// box. What Enter does is the box's own business.
inline void MarkTextEntry(QWidget* box) { box->setProperty("quorvaneTextEntry", true); }
inline bool IsTextEntry(const QWidget* widget) {
    return widget && widget->property("quorvaneTextEntry").toBool();
}

// The item chosen in an editable list, or -1 once the user has typed into it
// (typed text chooses no item, even when it spells one).
inline int ChosenIndex(const QComboBox* list) {
    if (list->lineEdit() && list->lineEdit()->isModified()) return -1;
    return list->currentIndex();
}
inline void Choose(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    if (list->lineEdit()) list->lineEdit()->setModified(false);
}

}  // namespace quorvane
