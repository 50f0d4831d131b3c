// The keyboard, the mouse wheel and the macros of the real main window, on a
// simulated scanner.
#include <QAbstractScrollArea>
#include <QPushButton>
#include <QUrl>
#include <QWheelEvent>

#include "E2eSupport.h"
#include "input/qt/KeyPlayer.h"

using namespace quorvane;
using namespace quorvane::e2e;

namespace {

struct Keypad : Panel {
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Focused() ? Focused() : form.get(), key, modifiers);
    }
    void Wheel(int delta) { WheelOver(form->findChild<QWidget*>("Picture2"), delta); }
    void WheelOver(QWidget* target, int delta) {
        const QPointF at(10, 10);
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    }
};

}  // namespace

TEST(InputEndToEnd, ShortcutsRunTheClickActionsOfTheirKeysThenLatchesMacroBoxFocusTheWheelAndTheLogo) {
    Keypad p;
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        Commands sent;
    } cases[] = {
        {Qt::Key_5, Qt::NoModifier, {"KEY,5,P"}},
        {Qt::Key_3, Qt::ShiftModifier, {"KEY,F,H", "KEY,3,P", "KEY,F,R"}},  // Shift+3
        {Qt::Key_Space, Qt::NoModifier, {"KEY,H,P"}},
        {Qt::Key_Period, Qt::NoModifier, {"KEY,.,P"}},
        {Qt::Key_Right, Qt::NoModifier, {"KEY,>,P"}},
        {Qt::Key_Down, Qt::NoModifier, {"KEY,^,P"}},
        {Qt::Key_S, Qt::NoModifier, {"KEY,S,P"}},
        {Qt::Key_M, Qt::ShiftModifier, {"KEY,M,P"}},
        {Qt::Key_Q, Qt::NoModifier, {}},
    };
    for (const auto& c : cases) {
        p.Key(c.key, c.modifiers);
        EXPECT_EQ(p.Sent(c.sent.size()), c.sent) << QKeySequence(c.key | c.modifiers).toString().toStdString();
    }

    p.Key(Qt::Key_F);
    EXPECT_EQ(p.Sent(1), Commands{"KEY,F,H"});
    EXPECT_TRUE(Key(*p.form, "key_f")->ShowsPressed());
    p.Key(Qt::Key_F);
    EXPECT_EQ(p.Sent(1), Commands{"KEY,F,R"});
    EXPECT_FALSE(Key(*p.form, "key_f")->ShowsPressed());
    // Typing in a macro box presses nothing until Enter hands the focus back.
    auto* m2 = p.form->findChild<QLineEdit*>("m2");
    m2->setFocus();
    p.Key(Qt::Key_5);
    EXPECT_EQ(m2->text(), "5");
    EXPECT_EQ(p.Sent(0), Commands{});
    // A wheel notch turns the knob even while typing.
    p.Wheel(-120);
    EXPECT_EQ(p.Sent(1), Commands{"KEY,<,P"});
    p.Key(Qt::Key_Return);
    EXPECT_EQ(p.Focused()->objectName(), "Picture1");
    p.Key(Qt::Key_5);
    EXPECT_EQ(p.Sent(1), Commands{"KEY,5,P"});
    for (int i = 0; i < 8; ++i) p.Wheel(15);  // eight fractions make one notch
    EXPECT_EQ(p.Sent(1), Commands{"KEY,>,P"});
    // The logo opens the project documentation.
    QString opened;
    p.form->SetUrlOpener([&](const QString& url) {
        opened = url;
        return true;
    });
    QTest::mouseClick(p.form->findChild<QWidget*>("Picture1"), Qt::LeftButton);
    const QUrl url(opened);
    ASSERT_TRUE(url.isLocalFile()) << opened.toStdString();
    EXPECT_TRUE(url.toLocalFile().endsWith("README.html"));
    EXPECT_TRUE(QFile::exists(url.toLocalFile())) << opened.toStdString();
}

TEST(InputEndToEnd, EveryTextBoxKeepsItsKeysAndEveryScrollingViewItsWheelAlsoAfterTheFramelessLayout) {
    Keypad p;
    const auto typeInto = [&](const char* name) {
        QWidget* box = p.form->findChild<QWidget*>(name);
        box->setFocus();
        QTest::keyClicks(box, "154 Fire.m1f2 x");
        return p.Sent(0, 50);
    };
    const auto checkBoxes = [&](const char* when) {
        for (const char* name : {"history_search", "history_from", "history_to", "history_stronger", "m1",
                                 "direct_entry", "Quick_Scan_List", "direct_entry_state", "alerts_list"}) {
            EXPECT_EQ(typeInto(name), Commands{}) << name << " " << when;
        }
        QLineEdit* m1 = p.form->findChild<QLineEdit*>("m1");
        EXPECT_TRUE(m1->text().endsWith("154 Fire.m1f2 x")) << when;
        m1->clear();
        // Views that scroll keep their wheel; the display turns the knob.
        for (const char* name : {"history_table", "grdInfo", "Quick_Scan_List", "Auto_Skip_List", "extended_text"}) {
            auto* view = p.form->findChild<QAbstractScrollArea*>(name);
            ASSERT_NE(view, nullptr) << name;
            p.WheelOver(view->viewport(), -120);
            EXPECT_EQ(p.Sent(0, 50), Commands{}) << name << " " << when;
        }
        p.Wheel(-120);
        EXPECT_EQ(p.Sent(1), Commands{"KEY,<,P"}) << when;
    };
    checkBoxes("at the start");
    // Down to the floating bar and back: the native window is made anew.
    for (int i = 0; i < 5; ++i) QTest::mouseClick(Key(*p.form, "button_mini_plus_hold_win"), Qt::LeftButton);
    for (int i = 0; i < 5; ++i) QTest::mouseClick(Key(*p.form, "button_maxi_plus_hold_win"), Qt::LeftButton);
    checkBoxes("after the frameless layout");
}

TEST(InputEndToEnd, AKeySequenceLongerThanTheBacklogArrivesWholeOnAScannerThatAnswers) {
    Keypad p;
    // 200 key commands, 5 ms apart: the key queue holds the line for a
    // second and 1.6 KB go out, more than the backlog lets stay unanswered.
    std::vector<Step> steps;
    for (int i = 0; i < 200; ++i) {
        steps.push_back(Step::Send("KEY," + std::to_string(i % 10) + ",P"));
        steps.push_back(Step::Wait(5));
    }
    ASSERT_TRUE(p.form->Scanner().Keys().Play(steps));
    const Commands sent = p.Sent(200, 300);
    EXPECT_EQ(sent.size(), 200u);
    EXPECT_EQ(Text3Of(*p.form), "Waiting");
}

TEST(InputEndToEnd, MacrosPlayAHundredMillisecondsApartAndSaveWithoutQuotes) {
    Keypad p;
    auto* m3 = p.form->findChild<QLineEdit*>("m3");
    p.form->findChild<QLineEdit*>("m1")->setText("F,H 1,P F,R");
    QTest::mouseClick(Key(*p.form, "key_m1"), Qt::LeftButton);
    EXPECT_EQ(p.Sent(3), (Commands{"KEY,F,H", "KEY,1,P", "KEY,F,R"}));
    // The wire log's times: the waits are there on the wire. The radio's
    // thread and the pseudo-terminal stamp the lines a few milliseconds late
    // on a busy machine, so this allows 20 ms of that; the queue's own test
    // holds the exact 100 ms on a fake clock.
    const std::vector<long> at = p.WireTimes("KEY,");
    ASSERT_EQ(at.size(), 3u);
    EXPECT_GE(at[1] - at[0], 80);
    EXPECT_GE(at[2] - at[1], 80);

    m3->setText("\"5,P\" 6,P");
    p.form->findChild<QLineEdit*>("m1")->setText("S,P");
    QTest::mouseClick(p.form->findChild<QPushButton*>("SaveMacros"), Qt::LeftButton);
    EXPECT_EQ(p.form->LastMessage(), "Your Macros Have Been Saved!");
    EXPECT_EQ(p.folder.Read("macro_settings.txt"), "\"S,P\"\r\n\"\"\r\n\"5,P 6,P\"\r\n");
    EXPECT_EQ(m3->text(), "\"5,P\" 6,P");
    p.form.reset();  // a new start reads them back
    Form1 again(p.folder.Path());
    EXPECT_EQ(again.findChild<QLineEdit*>("m3")->text(), "5,P 6,P");
}
