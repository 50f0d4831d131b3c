#pragma once
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

namespace quorvane {

// Whether the keys typed while widget has the focus are its own: any box
// the user types into (an editable line box or text box, a spin or date
// box, an editable list, a table or tree whose current cell can be edited)
// keeps its keys, Enter included, and the window's shortcuts stay quiet
// meanwhile. A box may give its keys to the shortcuts instead
// (AllowShortcuts); none does today.
bool KeepsItsKeys(const QWidget* widget);
void AllowShortcuts(QWidget* box);

// Whether the mouse wheel over widget is its own: a view that scrolls (a
// table, a list, a text box with scroll bars) and a spin or date box keep
// their wheel; elsewhere the wheel turns the scanner's knob.
bool KeepsItsWheel(const QWidget* widget);

// An editable list whose typed text stays as it was typed: nothing is
// completed, and leaving the box or pressing Enter does not turn the text
// into a list item that spells it in another case.
void KeepTypedText(QComboBox* list);

// The item chosen in an editable list, or -1 when its text is not the
// current item's (typed text chooses no item, even when it spells one).
inline int ChosenIndex(const QComboBox* list) {
    const int index = list->currentIndex();
    if (index < 0 || !list->lineEdit()) return index;
    return list->lineEdit()->text() == list->itemText(index) ? index : -1;
}
inline void Choose(QComboBox* list, int index) { list->setCurrentIndex(index); }

}  // namespace quorvane
