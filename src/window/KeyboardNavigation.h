#pragma once
#include <QObject>

class QKeyEvent;
class QTabWidget;
class QWidget;

namespace quorvane {

// The window's keys that move rather than press: Escape brings the focus
// to the scanner display from anywhere (the shortcuts act there); Ctrl+PgDn
// and Ctrl+PgUp switch tabs from anywhere, and so do Ctrl+Tab and
// Ctrl+Shift+Tab except inside a text box being typed in (a tab character)
// or a table (the next or previous cell). Space on a table or tree selects
// the current row (it starts no edit). Tab itself leaves every text box
// and table: Prepare sets that up for the controls the window has.
class KeyboardNavigation : public QObject {
    Q_OBJECT
public:
    KeyboardNavigation(QWidget& window, QWidget& display, QTabWidget& tabs);
    ~KeyboardNavigation() override;

    // Tab leaves every multi-line box and every table, list and tree of the window.
    void Prepare();

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool HandleKey(QKeyEvent* event);
    void SwitchTab(int step);

    QWidget& window_;
    QWidget& display_;
    QTabWidget& tabs_;
};

}  // namespace quorvane
