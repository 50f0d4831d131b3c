#include "window/TabWindows.h"

#include <QCloseEvent>
#include <algorithm>
#include <functional>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace quorvane {
namespace {

constexpr int kWindowWidth = 980;
constexpr int kWindowHeight = 640;

// The window a page lives in while it is away from its tab: closing it
// asks for the page to go back.
class PageWindow : public QWidget {
public:
    PageWindow(QWidget* owner, const QString& title, std::function<void()> onClose)
        : QWidget(owner, Qt::Window), onClose_(std::move(onClose)) {
        setObjectName("tab_window");
        setWindowTitle(title);
        setAttribute(Qt::WA_DeleteOnClose, false);
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        event->accept();
        if (onClose_) QMetaObject::invokeMethod(this, onClose_, Qt::QueuedConnection);
    }

private:
    std::function<void()> onClose_;
};

}  // namespace

TabWindows::TabWindows(QTabWidget& tabs) : QObject(&tabs), tabs_(tabs) {
    tab_window_open = new QPushButton("Own window", &tabs_);
    tab_window_open->setObjectName("tab_window_open");
    tab_window_open->setAccessibleName("Open this tab in its own window");
    tab_window_open->setToolTip("Open this tab in a window of its own that can be made larger");
    tabs_.setCornerWidget(tab_window_open, Qt::TopRightCorner);
    connect(tab_window_open, &QPushButton::clicked, this, [this] { Open(tabs_.currentWidget()); });
    connect(&tabs_, &QTabWidget::currentChanged, this, &TabWindows::ShowButtonFor);
    ShowButtonFor(tabs_.currentIndex());
}

void TabWindows::Allow(QWidget* page, const QString& title) {
    titles_.insert(page, title);
    ShowButtonFor(tabs_.currentIndex());
}

void TabWindows::ShowButtonFor(int tab) {
    QWidget* page = tabs_.widget(tab);
    tab_window_open->setVisible(page && titles_.contains(page) && !away_.contains(page));
}

QWidget* TabWindows::WindowOf(QWidget* page) const {
    const auto away = away_.constFind(page);
    return away == away_.constEnd() ? nullptr : away->window.data();
}

void TabWindows::Open(QWidget* page) {
    if (!page || !titles_.contains(page)) return;
    if (QWidget* window = WindowOf(page)) {
        window->raise();
        window->activateWindow();
        return;
    }
    const int index = tabs_.indexOf(page);
    if (index < 0) return;
    const QString label = tabs_.tabText(index);
    const QString title = titles_.value(page);

    // The tab keeps its place and says where its page went.
    auto* placeholder = new QWidget;
    placeholder->setObjectName("tab_window_placeholder");
    auto* where = new QLabel(QString("%1 is open in its own window.").arg(label), placeholder);
    auto* back = new QPushButton("Bring it back here", placeholder);
    back->setObjectName("tab_window_return");
    auto* column = new QVBoxLayout(placeholder);
    column->addStretch(1);
    column->addWidget(where, 0, Qt::AlignHCenter);
    column->addWidget(back, 0, Qt::AlignHCenter);
    column->addStretch(1);
    connect(back, &QPushButton::clicked, this, [this, page] { Return(page); });

    const bool wasCurrent = tabs_.currentIndex() == index;
    tabs_.removeTab(index);
    tabs_.insertTab(index, placeholder, label);
    if (wasCurrent) tabs_.setCurrentIndex(index);

    auto* window = new PageWindow(tabs_.window(), title, [this, page] { Return(page); });
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(page);
    page->show();
    window->resize(std::max(kWindowWidth, page->width()), std::max(kWindowHeight, page->height()));
    away_.insert(page, Away{window, placeholder});
    window->show();
    window->raise();
    window->activateWindow();
    ShowButtonFor(tabs_.currentIndex());
}

void TabWindows::Return(QWidget* page) {
    const auto away = away_.find(page);
    if (away == away_.end()) return;
    const Away was = *away;
    away_.erase(away);
    const int index = was.placeholder ? tabs_.indexOf(was.placeholder) : -1;
    const QString label = index >= 0 ? tabs_.tabText(index) : QString();
    const bool wasCurrent = index >= 0 && tabs_.currentIndex() == index;
    if (index >= 0) {
        tabs_.removeTab(index);
        tabs_.insertTab(index, page, label);
        if (wasCurrent) tabs_.setCurrentIndex(index);
    }
    if (was.placeholder) was.placeholder->deleteLater();
    if (was.window) {
        was.window->hide();
        was.window->deleteLater();
    }
    ShowButtonFor(tabs_.currentIndex());
}

}  // namespace quorvane
