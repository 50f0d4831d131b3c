#pragma once
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

namespace quorvane {

// Whether the keys typed while widget has the focus are its own: any box
// the user types into (an editable line box or text box, a spin or date
// box, an editable list) keeps its keys, Enter included, and the window's
// shortcuts stay quiet meanwhile. A box may give its keys to the shortcuts
// instead (AllowShortcuts); none does today.
bool KeepsItsKeys(const QWidget* widget);
void AllowShortcuts(QWidget* box);

// Whether the mouse wheel over widget is its own: a view that scrolls (a
// table, a list, a text box with scroll bars) and a spin or date box keep
// their wheel; elsewhere the wheel turns the scanner's knob.
bool KeepsItsWheel(const QWidget* widget);

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
