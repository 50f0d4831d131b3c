// The layouts, the frame and the dragging of the real main window, offscreen.
#include <QCheckBox>
#include <QPushButton>
#include <QWindow>
#include <QMouseEvent>

#include "E2eSupport.h"
#include "window/WindowStyle.h"

using namespace quorvane;
using namespace quorvane::e2e;

namespace {

// A press at `at` on `target`, a move by `by` with the button held, and the
// release, as the mouse would give them (screen points fixed at the press).
void Drag(QWidget* target, QPoint at, QPoint by) {
    const QPoint global = target->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent move(QEvent::MouseMove, at + by, global + by, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, at + by, global + by, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

}  // namespace

TEST(WindowLayoutEndToEnd, FloatingBarRestoredThenGrownAndDraggedByBareSpotsOnly) {
    App();
    AppFolder folder;
    folder.Write("pgm_settings.txt", "0\r\n0\r\n0\r\n0\r\n37\r\n37\r\n7\r\n1500\r\n3000\r\n\"\"\r\n4\r\n");
    Form1 form(folder.Path());
    form.show();
    auto* style = form.findChild<WindowStyle*>();
    QWidget* bar = form.findChild<QWidget*>("floating_taskbar");
    QWidget* plus = form.findChild<QWidget*>("button_maxi_plus_hold_win");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(style->Titlebar());
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(style->AutoDrag());
    EXPECT_EQ(form.size(), QSize(304, 17));  // 4560 x 250 twips, no frame
    EXPECT_EQ(plus->pos(), QPoint(278, 3));
    EXPECT_EQ(form.findChild<QWidget*>("Picture2")->y(), 333);

    // Up to "display_only_no_windows_junk": the bar goes, the panel comes back.
    QTest::mouseClick(plus, Qt::LeftButton);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(form.findChild<QWidget*>("Picture2")->pos(), QPoint(10, 12));
    EXPECT_EQ(form.size(), QSize(271, 153));
    EXPECT_EQ(form.pos(), QPoint(100, 200));  // a layout never moves the window
    // Up to the display with its hold bar: the keypad at the edge is cut, so
    // its keys show not at all; none is a sliver.
    QTest::mouseClick(plus, Qt::LeftButton);
    QTest::mouseClick(plus, Qt::LeftButton);
    int hidden = 0;
    for (KeyButton* key : form.findChildren<KeyButton*>()) {
        const QRect client = form.rect();
        if (!key->isVisible() || !client.intersects(key->geometry())) {
            hidden += !key->isVisible();
            continue;
        }
        EXPECT_TRUE(client.contains(key->geometry())) << key->objectName().toStdString();
    }
    EXPECT_GE(hidden, 5);
    QTest::mouseClick(form.findChild<QWidget*>("button_mini_plus_hold_win"), Qt::LeftButton);
    QTest::mouseClick(form.findChild<QWidget*>("button_mini_plus_hold_win"), Qt::LeftButton);
    ASSERT_EQ(form.size(), QSize(271, 153));

    // Frameless: a bare spot drags the window, the display text and the
    // panel around it (which pass their presses on to the window) do not.
    Drag(&form, QPoint(3, 3), QPoint(40, 25));
    EXPECT_EQ(form.pos(), QPoint(140, 225));
    for (const char* control : {"Text1", "Picture2"}) {
        Drag(form.findChild<QWidget*>(control), QPoint(5, 5), QPoint(40, 25));
        EXPECT_EQ(form.pos(), QPoint(140, 225)) << control;
    }

    // Back to a titled layout: nothing drags any more.
    QTest::mouseClick(form.findChild<QWidget*>("button_maxi_plus_hold_win"), Qt::LeftButton);
    EXPECT_TRUE(style->Titlebar());
    EXPECT_FALSE(style->AutoDrag());
    Drag(&form, QPoint(3, 3), QPoint(40, 25));
    EXPECT_EQ(form.pos(), QPoint(140, 225));
    form.close();
    EXPECT_EQ(ReadPgmSettings(folder.Read("pgm_settings.txt")).layoutCode, 5);
}

TEST(WindowLayoutEndToEnd, StyleWritesKeepThePlaceTheSizeAndEveryOtherProperty) {
    App();
    AppFolder folder;
    Form1 form(folder.Path());
    form.show();
    form.move(120, 80);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* style = form.findChild<WindowStyle*>();
    ASSERT_EQ(style->Client(), &form);
    // Each property, and the window flag that shows it (set when on, or when off).
    struct Property {
        const char* name;
        void (WindowStyle::*write)(bool);
        bool (WindowStyle::*read)() const;
        Qt::WindowFlags flag;
        bool flagMeansOn;
    };
    const Property properties[] = {
        {"Titlebar", &WindowStyle::SetTitlebar, &WindowStyle::Titlebar, Qt::FramelessWindowHint, false},
        {"TopMost", &WindowStyle::SetTopMost, &WindowStyle::TopMost, Qt::WindowStaysOnTopHint, true},
        {"MinButton", &WindowStyle::SetMinButton, &WindowStyle::MinButton, Qt::WindowMinimizeButtonHint, true},
        {"MaxButton", &WindowStyle::SetMaxButton, &WindowStyle::MaxButton, Qt::WindowMaximizeButtonHint, true},
        {"ControlBox", &WindowStyle::SetControlBox, &WindowStyle::ControlBox, Qt::WindowSystemMenuHint, true},
        {"Sizable", &WindowStyle::SetSizable, &WindowStyle::Sizable, Qt::MSWindowsFixedSizeDialogHint, false},
        {"ToolWindow", &WindowStyle::SetToolWindow, &WindowStyle::ToolWindow, Qt::Tool, true},
        {"WhatsThisButton", &WindowStyle::SetWhatsThisButton, &WindowStyle::WhatsThisButton,
         Qt::WindowContextHelpButtonHint, true},
    };
    auto readAll = [&] {
        std::vector<bool> values;
        for (const Property& p : properties) values.push_back((style->*p.read)());
        return values;
    };
    const QSize size = form.size();
    for (size_t i = 0; i < std::size(properties); ++i) {
        const Property& p = properties[i];
        for (int round = 0; round < 2; ++round) {
            std::vector<bool> expected = readAll();
            expected[i] = !expected[i];
            (style->*p.write)(expected[i]);
            EXPECT_EQ(readAll(), expected) << p.name << " round " << round;
            EXPECT_EQ(form.windowFlags().testFlags(p.flag), expected[i] == p.flagMeansOn) << p.name;
            EXPECT_EQ(form.pos(), QPoint(120, 80)) << p.name;
            EXPECT_EQ(form.size(), size) << p.name;
            EXPECT_TRUE(form.isVisible()) << p.name;
        }
    }
    EXPECT_TRUE(style->Titlebar());

    // "Enable Always On Top" keeps the window on top, in place, and is saved.
    form.findChild<QCheckBox*>("AlwaysOnTopCheck")->click();
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(form.pos(), QPoint(120, 80));
    form.close();
    EXPECT_EQ(ReadPgmSettings(folder.Read("pgm_settings.txt")).alwaysOnTop, 1);
}

TEST(WindowLayoutEndToEnd, HistoryAndMemoryOpenInTheirOwnResizableWindowAndComeBack) {
    App();
    AppFolder folder;
    Form1 form(folder.Path());
    form.show();
    auto* tabs = form.findChild<QTabWidget*>("SSTab1");
    auto* open = form.findChild<QPushButton*>("tab_window_open");
    tabs->setCurrentIndex(0);
    EXPECT_FALSE(open->isVisibleTo(&form));  // the Log stays in the window
    for (const char* name : {"history_tab", "Memory"}) {
        SCOPED_TRACE(name);
        QWidget* page = form.findChild<QWidget*>(name);
        ASSERT_NE(page, nullptr);
        const int index = tabs->indexOf(page);
        const QString label = tabs->tabText(index);
        tabs->setCurrentIndex(index);
        ASSERT_TRUE(open->isVisibleTo(&form));
        QTest::mouseClick(open, Qt::LeftButton);
        QWidget* window = page->window();
        ASSERT_NE(window, &form);
        EXPECT_TRUE(window->isVisible());
        // It grows with its window, which the fixed main window could not.
        window->resize(1400, 900);
        QApplication::processEvents();
        EXPECT_GT(page->width(), 1300);
        EXPECT_GT(page->height(), 800);
        // The tab keeps its place and label and offers the page back.
        EXPECT_EQ(tabs->tabText(index), label);
        EXPECT_EQ(tabs->currentIndex(), index);
        EXPECT_FALSE(open->isVisibleTo(&form));
        auto* back = tabs->widget(index)->findChild<QPushButton*>("tab_window_return");
        ASSERT_NE(back, nullptr);
        if (std::string(name) == "Memory") {
            window->close();  // closing the window brings it back too
        } else {
            QTest::mouseClick(back, Qt::LeftButton);
        }
        ASSERT_TRUE(WaitUntil([&] { return tabs->widget(index) == page; }, 2000));
        EXPECT_EQ(page->window(), &form);
        EXPECT_EQ(tabs->tabText(index), label);
    }
}
