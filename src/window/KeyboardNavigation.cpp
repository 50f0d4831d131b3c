#include "window/KeyboardNavigation.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>

namespace quorvane {
namespace {

// A box with several lines that the user types into.
bool TypesTabs(const QWidget* widget) {
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(widget)) return !text->isReadOnly();
    if (const auto* text = qobject_cast<const QTextEdit*>(widget)) return !text->isReadOnly();
    return false;
}

// An editor open in a cell: its keys (Escape ends the edit) are its view's.
bool EditsACell(const QWidget* widget) {
    for (const QWidget* w = widget ? widget->parentWidget() : nullptr; w && !w->isWindow(); w = w->parentWidget()) {
        if (qobject_cast<const QAbstractItemView*>(w)) return true;
    }
    return false;
}

// The next or previous cell of a table or tree, row after row.
void WalkCell(QAbstractItemView* view, int step) {
    const QModelIndex at = view->currentIndex();
    const QAbstractItemModel* model = view->model();
    if (!model || !at.isValid()) return;
    int row = at.row();
    int column = at.column() + step;
    const int columns = model->columnCount(at.parent());
    if (column >= columns) column = 0, ++row;
    if (column < 0) column = columns - 1, --row;
    const QModelIndex next = model->index(row, column, at.parent());
    if (next.isValid()) view->setCurrentIndex(next);
}

}  // namespace

KeyboardNavigation::KeyboardNavigation(QWidget& window, QWidget& display, QTabWidget& tabs)
    : QObject(&window), window_(window), display_(display), tabs_(tabs) {
    qApp->installEventFilter(this);
}

KeyboardNavigation::~KeyboardNavigation() { qApp->removeEventFilter(this); }

void KeyboardNavigation::Prepare() {
    for (auto* text : window_.findChildren<QPlainTextEdit*>()) text->setTabChangesFocus(true);
    for (auto* text : window_.findChildren<QTextEdit*>()) text->setTabChangesFocus(true);
    for (auto* view : window_.findChildren<QAbstractItemView*>()) view->setTabKeyNavigation(false);
}

bool KeyboardNavigation::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &window_) return false;
    // Each key once: at the focus widget (or the window when none has it).
    const QWidget* focused = window_.focusWidget();
    if (focused ? widget != focused : widget != &window_) return false;
    return HandleKey(static_cast<QKeyEvent*>(event));
}

bool KeyboardNavigation::HandleKey(QKeyEvent* event) {
    QWidget* focused = window_.focusWidget();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (key == Qt::Key_Escape && mods == Qt::NoModifier) {
        if (EditsACell(focused)) return false;
        display_.setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    // Space on a table or tree selects the current row; it never starts an
    // edit that would replace the cell's text with a blank.
    if (key == Qt::Key_Space && mods == Qt::NoModifier) {
        auto* view = qobject_cast<QAbstractItemView*>(focused);
        if (!view || !view->selectionModel() || !view->currentIndex().isValid()) return false;
        if (view->selectionMode() != QAbstractItemView::NoSelection) {
            view->selectionModel()->select(view->currentIndex(),
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
        return true;
    }
    if (mods == Qt::ControlModifier && (key == Qt::Key_PageDown || key == Qt::Key_PageUp)) {
        SwitchTab(key == Qt::Key_PageDown ? 1 : -1);
        return true;
    }
    const bool ctrlTab = key == Qt::Key_Tab && mods == Qt::ControlModifier;
    const bool ctrlBacktab = (key == Qt::Key_Backtab || key == Qt::Key_Tab) && mods == (Qt::ControlModifier | Qt::ShiftModifier);
    if (!ctrlTab && !ctrlBacktab) return false;
    if (TypesTabs(focused)) {
        if (ctrlBacktab) return false;
        if (auto* text = qobject_cast<QPlainTextEdit*>(focused)) text->insertPlainText("\t");
        if (auto* text = qobject_cast<QTextEdit*>(focused)) text->insertPlainText("\t");
        return true;
    }
    if (auto* view = qobject_cast<QAbstractItemView*>(focused)) {
        WalkCell(view, ctrlTab ? 1 : -1);
        return true;
    }
    SwitchTab(ctrlTab ? 1 : -1);
    return true;
}

void KeyboardNavigation::SwitchTab(int step) {
    const int count = tabs_.count();
    if (count == 0) return;
    tabs_.setCurrentIndex((tabs_.currentIndex() + step + count) % count);
    // The tab bar takes the focus, so the new tab is announced and Tab goes on into it.
    tabs_.tabBar()->setFocus(Qt::TabFocusReason);
}

}  // namespace quorvane
