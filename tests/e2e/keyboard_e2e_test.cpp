// The real main window worked with the keyboard alone, and the mouse wheel
// over lists at their ends: a focused control takes the keys it works
// with, the scanner's shortcuts act on the display, the keypad and the
// buttons, Tab leaves boxes and tables, and a wheel that starts over a
// list never turns the knob.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QTabBar>
#include <QTreeWidget>
#include <QWheelEvent>

#include "E2eSupport.h"

using namespace quorvane;
using namespace quorvane::e2e;

namespace {

struct Keyboard : Panel {
    explicit Keyboard(int tab = -1) : Panel(tab) { Activate(); }
    // Keys go to the focus of the active window only.
    void Activate() {
        EXPECT_TRUE(WaitUntil([&] {
            QApplication::setActiveWindow(form.get());
            return form->isActiveWindow();
        }, 3000));
    }
    // A message the window showed is read and closed.
    void CloseMessages() {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == "message") top->close();
        }
        Activate();
    }
    QWidget* Find(const char* name) const { return form->findChild<QWidget*>(name); }
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Focused() ? Focused() : form.get(), key, modifiers);
    }
    void FocusOn(const char* name) {
        QWidget* widget = Find(name);
        widget->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(WaitUntil([&] { return Focused() == widget; }, 2000)) << name;
    }
    QTabWidget* Tabs() const { return form->findChild<QTabWidget*>("SSTab1"); }
    // A wheel notch as the window system gives it: over target, handed on to
    // the parents when target does not take it.
    void WheelOver(QWidget* target, int delta) {
        const QPointF at(target->width() / 2, target->height() / 2);
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(target, &event);
    }
};

}  // namespace

TEST(KeyboardEndToEnd, AFocusedButtonOrBoxTakesSpaceEnterAndArrowsTheShortcutsKeepTheRest) {
    Keyboard p(3);  // the Settings tab
    p.FocusOn("SaveMacros");
    p.Press(Qt::Key_Space);
    EXPECT_EQ(p.form->LastMessage(), "Your Macros Have Been Saved!");
    EXPECT_EQ(p.Sent(0), Commands{});
    p.CloseMessages();
    p.FocusOn("SaveMacros");
    p.Press(Qt::Key_5);  // a digit still presses the scanner's key
    EXPECT_EQ(p.Sent(1), Commands{"KEY,5,P"});

    p.FocusOn("SpeakHitsCheck");
    p.Press(Qt::Key_Space);
    EXPECT_TRUE(static_cast<QCheckBox*>(p.Find("SpeakHitsCheck"))->isChecked());
    EXPECT_EQ(p.folder.Read("speech.txt"), "speak=1\r\n");
    p.Press(Qt::Key_Right);
    p.Press(Qt::Key_Return);
    EXPECT_EQ(p.Sent(0), Commands{});

    // The tab bar: the arrows switch tabs, nothing goes to the scanner.
    p.FocusOn("qt_tabwidget_tabbar");
    p.Press(Qt::Key_Right);
    EXPECT_EQ(p.Tabs()->currentIndex(), 4);
    p.Press(Qt::Key_Space);
    EXPECT_EQ(p.Sent(0), Commands{});
}

TEST(KeyboardEndToEnd, AFocusedKeyIsPressedBySpaceOrEnterAndEscapeBringsTheShortcutsBack) {
    Keyboard p;
    p.FocusOn("key_scan");
    p.Press(Qt::Key_Space);
    EXPECT_EQ(p.Sent(1), Commands{"KEY,S,P"});
    p.Press(Qt::Key_Return);
    EXPECT_EQ(p.Sent(1), Commands{"KEY,S,P"});
    p.Press(Qt::Key_Right);  // the knob still turns
    EXPECT_EQ(p.Sent(1), Commands{"KEY,>,P"});
    // Tab walks on to the next key of the row.
    p.Press(Qt::Key_Tab);
    EXPECT_EQ(p.Focused()->objectName(), "key_4");

    // Escape from a box being typed in: the display, where Space is Hold.
    p.FocusOn("m1");
    p.Press(Qt::Key_Space);
    EXPECT_EQ(p.Sent(0), Commands{});
    p.Press(Qt::Key_Escape);
    EXPECT_EQ(p.Focused()->objectName(), "Picture2");
    p.Press(Qt::Key_Space);
    EXPECT_EQ(p.Sent(1), Commands{"KEY,H,P"});
    p.Press(Qt::Key_Return);
    EXPECT_EQ(p.Sent(1), Commands{"KEY,^,P"});
}

TEST(KeyboardEndToEnd, CtrlPgDnReachesEveryTabFromAnywhereAndTabLeavesBoxesAndTables) {
    Keyboard p(0);
    p.FocusOn("Picture2");
    QStringList reached;
    for (int i = 0; i < 6; ++i) {
        p.Press(Qt::Key_PageDown, Qt::ControlModifier);
        reached << p.Tabs()->tabText(p.Tabs()->currentIndex());
    }
    EXPECT_EQ(reached, (QStringList{"Extended Info", "Tuner", "Settings", "History", "Memory", "Log"}));
    // The tab bar has the focus, so the tab shown is announced.
    EXPECT_EQ(p.Focused()->objectName(), "qt_tabwidget_tabbar");
    EXPECT_EQ(p.Sent(0), Commands{});
    p.Press(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(p.Tabs()->currentIndex(), 5);

    // Ctrl+Tab from a button switches tabs too; in the Alerts box it is a tab character.
    p.Tabs()->setCurrentIndex(3);
    p.FocusOn("SaveMacros");
    p.Press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(p.Tabs()->currentIndex(), 4);
    p.Tabs()->setCurrentIndex(3);
    p.FocusOn("alerts_list");
    auto* alerts = static_cast<QPlainTextEdit*>(p.Find("alerts_list"));
    alerts->clear();
    p.Press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(alerts->toPlainText(), "\t");
    EXPECT_EQ(p.Tabs()->currentIndex(), 3);
    p.Press(Qt::Key_Tab);
    EXPECT_NE(p.Focused(), alerts) << "Tab stays in the Alerts box";

    // The log grid and the history table take the focus and let Tab go on.
    for (auto [tab, table] : {std::pair{0, "grdInfo"}, std::pair{4, "history_table"}}) {
        p.Tabs()->setCurrentIndex(tab);
        p.FocusOn(table);
        p.Press(Qt::Key_Tab);
        EXPECT_NE(p.Focused(), p.Find(table)) << "Tab stays in " << table;
    }
    EXPECT_EQ(p.Sent(0), Commands{});
}

TEST(KeyboardEndToEnd, AWheelThatStartsOverAListNeverTurnsTheKnobAtItsTopItsBottomOrWithFewRows) {
    Keyboard p(0);
    auto* log = p.form->findChild<QAbstractItemView*>("grdInfo");
    // Few rows: nothing to scroll.
    p.WheelOver(log->viewport(), 120);
    p.WheelOver(log->viewport(), -120);
    EXPECT_EQ(p.Sent(0, 100), Commands{}) << "log with few rows";
    for (int i = 0; i < 80; ++i) {
        p.form->Scanner().Log().Add("County / Fire\t" + std::to_string(i) + "\t 154.4300\t\t10:00:00\t10:00:05\t12-06-2026\r\n");
    }
    ASSERT_TRUE(WaitUntil([&] { return log->verticalScrollBar()->maximum() > 0; }, 3000));
    log->verticalScrollBar()->setValue(0);
    p.WheelOver(log->viewport(), 120);  // up, at the top
    EXPECT_EQ(p.Sent(0, 100), Commands{}) << "log at its top";
    log->verticalScrollBar()->setValue(log->verticalScrollBar()->maximum());
    p.WheelOver(log->viewport(), -120);  // down, at the bottom
    EXPECT_EQ(p.Sent(0, 100), Commands{}) << "log at its bottom";

    for (auto [tab, name] : {std::pair{4, "history_table"}, std::pair{5, "memory_tree"}}) {
        p.Tabs()->setCurrentIndex(tab);
        auto* view = p.form->findChild<QAbstractItemView*>(name);
        for (int delta : {120, -120}) p.WheelOver(view->viewport(), delta);
        EXPECT_EQ(p.Sent(0, 100), Commands{}) << name;
    }
    // Over the display the same wheel turns the knob.
    p.WheelOver(p.Find("Text1"), -120);
    EXPECT_EQ(p.Sent(1), Commands{"KEY,<,P"});
}

TEST(KeyboardEndToEnd, SpaceOnAMemoryRowSelectsItAndLeavesItsNameAlone) {
    Keyboard p(5);
    auto* tree = p.form->findChild<QTreeWidget*>("memory_tree");
    QTest::mouseClick(p.form->findChild<QPushButton*>("memory_add_system"), Qt::LeftButton);
    ASSERT_GT(tree->topLevelItemCount(), 0);
    QTreeWidgetItem* row = tree->topLevelItem(0);
    const QString name = row->text(0);
    ASSERT_FALSE(name.isEmpty());
    p.CloseMessages();
    p.FocusOn("memory_tree");
    tree->setCurrentItem(row, 0);
    p.Press(Qt::Key_Space);
    EXPECT_EQ(row->text(0), name);
    EXPECT_TRUE(row->isSelected());
    EXPECT_EQ(p.Focused(), tree) << "an edit was started";
    EXPECT_EQ(p.Sent(0), Commands{});
}
