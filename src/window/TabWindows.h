#pragma once
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class QPushButton;
class QTabWidget;
class QWidget;

namespace quorvane {

// Lets a few tabs (the History and the Memory) open in a window of their
// own that can be made as large as the work needs, while the main window
// keeps its fixed layouts. A button in the tab bar's corner, shown on those
// tabs, moves the tab's page into the new window; the tab stays in its place
// and says where its page is, with a button to bring it back. Closing the
// window brings the page back into its tab.
class TabWindows : public QObject {
    Q_OBJECT
public:
    explicit TabWindows(QTabWidget& tabs);

    // page (a tab of tabs) may open in its own window, titled title.
    void Allow(QWidget* page, const QString& title);

    // Moves page into its own window (shown and raised), or back into its tab.
    void Open(QWidget* page);
    void Return(QWidget* page);
    // The window page is in; none while it is in its tab.
    QWidget* WindowOf(QWidget* page) const;

private:
    void ShowButtonFor(int tab);

    QTabWidget& tabs_;
    QPushButton* tab_window_open = nullptr;
    QHash<QWidget*, QString> titles_;
    struct Away {
        QPointer<QWidget> window;
        QPointer<QWidget> placeholder;
    };
    QHash<QWidget*, Away> away_;
};

}  // namespace quorvane
