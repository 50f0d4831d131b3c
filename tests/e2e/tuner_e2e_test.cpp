// The Tuner tab of the real main window on a simulated scanner: direct
// tuning from both panels, the quick scan, the auto skip list and the
// licence lookup.
#include <QComboBox>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>

#include "E2eSupport.h"

using namespace quorvane;
using namespace quorvane::e2e;

namespace {

// A window on the Tuner tab, polling a radio.
struct Tuner : Panel {
    Tuner() : Panel(2) { radio->SetOverride(Idle()); }
    template <typename T = QWidget>
    T* Get(const char* name) const { return form->findChild<T*>(name); }
    void Focus(const char* name) { Get(name)->setFocus(); }
    QString FocusedName() const { return Focused() ? Focused()->objectName() : QString(); }
    // Types text into a box the way the keyboard does, "\n" as Enter.
    void Type(const char* box, const QString& text) {
        Focus(box);
        const QStringList lines = text.split('\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0) QTest::keyClick(Get(box), Qt::Key_Return);
            QTest::keyClicks(Get(box), lines[i]);
        }
    }
    void Click(const char* button) { QTest::mouseClick(Get(button), Qt::LeftButton); }
};

}  // namespace

TEST(TunerEndToEnd, BothPanelsTuneAndLookUpWhatIsTypedAndHandTheKeysBack) {
    Tuner t;
    // Every control of the tab lies inside the tab at the window's full size.
    QWidget* tab = t.Get("Tuner");
    for (const char* name : {"VFO_frame", "direct_entry", "direct_entry_mod", "key_tune_direct", "direct_entry_state",
                             "direct_entry_fcc", "Frame4", "direct_entry2", "direct_entry_mod2", "key_tune_direct2",
                             "direct_entry_state2", "direct_entry_fcc2", "Auto_Skip_List_Frame", "Auto_Skip_List",
                             "key_auto_skip_list_apply", "Quick_Scan_List_Frame", "Quick_Scan_List",
                             "key_start_quck_scan"}) {
        QWidget* w = t.Get(name);
        ASSERT_NE(w, nullptr) << name;
        EXPECT_TRUE(w->isVisible() && tab->rect().contains(QRect(w->mapTo(tab, QPoint()), w->size()))) << name;
    }
    EXPECT_EQ(t.Get<QComboBox>("direct_entry_mod2")->currentText(), "FM");
    // Digits typed into the box stay there; no key is pressed.
    t.Type("direct_entry", "162.55");
    EXPECT_EQ(t.Sent(0), Commands{});
    t.Get<QComboBox>("direct_entry_mod")->setCurrentIndex(1);
    t.Click("key_tune_direct");
    EXPECT_EQ(t.Sent(1), Commands{"QSH,01625500,0,NFM,0,.,.,.,.,."});
    EXPECT_EQ(t.FocusedName(), "Picture1");
    // The lower panel has its own text and list; Enter in its box tunes too.
    t.Get<QComboBox>("direct_entry_mod2")->setCurrentIndex(2);
    t.Type("direct_entry2", "855.2375");
    QTest::keyClick(t.Get("direct_entry2"), Qt::Key_Return);
    EXPECT_EQ(t.Sent(1), Commands{"QSH,08552375,0,AM,0,.,.,.,.,."});
    t.Get<QLineEdit>("direct_entry")->setText("162");
    t.Click("key_tune_direct");
    EXPECT_EQ(t.Sent(0), Commands{});
    QTest::keyClick(t.Get("Picture1"), Qt::Key_5);
    EXPECT_EQ(t.Sent(1), Commands{"KEY,5,P"});
    // The wire carries each command with one CR: nothing stray before the next one.
    EXPECT_EQ(t.folder.Read("wire.log").find("\\x"), std::string::npos);

    // FCC opens the licence search for each panel's state and text; typed text chooses no state.
    QStringList opened;
    bool browserThere = true;
    t.form->SetUrlOpener([&](const QString& url) {
        opened << url;
        return browserThere;
    });
    const QString search = "http://gullfoss2.fcc.gov/cgi-bin/ws.exe/genmen/uls/freq_st_res.hts?db_id=19&rows=0";
    t.Get<QLineEdit>("direct_entry")->setText("162.55");
    t.Get<QComboBox>("direct_entry_state")->setCurrentIndex(55);
    t.Get<QLineEdit>("direct_entry2")->setText(" 451.0 x");
    t.Get<QComboBox>("direct_entry_state2")->setCurrentIndex(47);
    t.Click("direct_entry_fcc");
    t.Click("direct_entry_fcc2");
    // Typed text chooses no state, even when it spells one in another case
    // or starts one ("W" is not completed to "WA").
    for (const char* typed : {"TX", "tx", "W"}) {
        t.Get<QComboBox>("direct_entry_state")->lineEdit()->clear();
        t.Type("direct_entry_state", typed);
        t.Click("direct_entry_fcc");
        EXPECT_EQ(t.Get<QComboBox>("direct_entry_state")->currentText(), typed);
    }
    EXPECT_EQ(opened, (QStringList{search + "&state=WY&freq=162.55", search + "&state=TX&freq= 451.0 x",
                                   search + "&state=&freq=162.55", search + "&state=&freq=162.55",
                                   search + "&state=&freq=162.55"}));
    opened.clear();
    EXPECT_EQ(t.FocusedName(), "Picture1");
    t.Get<QLineEdit>("direct_entry")->setText("162");
    t.Click("direct_entry_fcc");
    EXPECT_EQ(opened.size(), 0);
    browserThere = false;
    t.Click("direct_entry_fcc2");
    EXPECT_EQ(Text3Of(*t.form).toStdString(), "No web browser could be opened");
    // With the port closed, Tune says so and sends nothing.
    t.Click("Command2");
    t.Sent(0);
    t.Click("key_tune_direct2");
    EXPECT_EQ(Text3Of(*t.form).toStdString(), "Hit Run first");
    EXPECT_EQ(NonPollCommands(*t.radio, t.mark), Commands{});
}

TEST(TunerEndToEnd, TheQuickScanTunesOneEntryASecondUntilScanStopsIt) {
    Tuner t;
    t.Type("Quick_Scan_List", "162.55\n155.475 nfm\n121.5 AM");  // Enter starts a line, presses no key
    EXPECT_EQ(t.Get<QPlainTextEdit>("Quick_Scan_List")->toPlainText(), "162.55\n155.475 nfm\n121.5 AM");
    EXPECT_EQ(t.Sent(0), Commands{});
    t.Click("key_start_quck_scan");
    EXPECT_EQ(t.Get<QPushButton>("key_start_quck_scan")->text(), "Stop Quick Scan");
    EXPECT_EQ(t.FocusedName(), "Picture1");
    ASSERT_TRUE(WaitUntil([&] { return t.WireTimes("QSH,").size() >= 4; }, 8000));
    EXPECT_EQ(NonPollCommands(*t.radio), (Commands{"QSH,01625500,0,FM,0,.,.,.,.,.", "QSH,01554750,0,NFM,0,.,.,.,.,.",
                                                   "QSH,01215000,0,AM,0,.,.,.,.,.", "QSH,01625500,0,FM,0,.,.,.,.,."}));
    const std::vector<long> at = t.WireTimes("QSH,");
    EXPECT_NEAR(at[1] - at[0], 1000, 250);
    EXPECT_NEAR(at[2] - at[1], 1000, 250);
    EXPECT_NEAR(at[3] - at[2], 2000, 250);  // one silent tick at the wrap
    // SCAN stops it before its own command goes out.
    t.mark = t.radio->ReceivedCommands().size();
    QTest::mouseClick(Key(*t.form, "key_scan"), Qt::LeftButton);
    EXPECT_EQ(t.Get<QPushButton>("key_start_quck_scan")->text(), "Start Quick Scan");
    EXPECT_EQ(t.Sent(1, 1300), Commands{"KEY,S,P"});
    // Also while the keys are refused (the port closed): the scan stops all the same.
    t.Click("key_start_quck_scan");
    t.Click("Command2");
    QTest::mouseClick(Key(*t.form, "key_cconly"), Qt::LeftButton);
    EXPECT_EQ(t.Get<QPushButton>("key_start_quck_scan")->text(), "Start Quick Scan");
}

TEST(TunerEndToEnd, AListThatIsNotFrequenciesIsNotStartedAndTheLineIsNamed) {
    Tuner t;
    t.Type("Quick_Scan_List", "162.55\n154.4300155.3400460.0250");
    t.Click("key_start_quck_scan");
    EXPECT_EQ(t.Get<QPushButton>("key_start_quck_scan")->text(), "Start Quick Scan");
    EXPECT_TRUE(t.form->LastMessage().startsWith("Quick Scan List line 2 is not a frequency: \"154.4300155.3400460.0250\""))
        << t.form->LastMessage().toStdString();
    EXPECT_EQ(t.Sent(0, 1200), Commands{});
}

TEST(TunerEndToEnd, LostRepliesDuringAQuickScanHoldUpThePollForOneSecondOnly) {
    Tuner t;
    t.Type("Quick_Scan_List", QString("162.55\n").repeated(20));
    t.Click("key_start_quck_scan");
    ASSERT_TRUE(WaitUntil([&] { return t.WireTimes("QSH,").size() >= 2; }, 4000));
    // The scanner hears but does not answer for 300 ms: some replies are lost.
    t.radio->SetAnswering(false);
    WaitUntil([] { return false; }, 300);
    t.radio->SetAnswering(true);
    const size_t after = t.radio->ReceivedCommands().size();
    // Polling goes on within about a second, quick-scan steps or not.
    EXPECT_TRUE(WaitUntil([&] {
        const auto all = t.radio->ReceivedCommands();
        return std::count(all.begin() + static_cast<long>(after), all.end(), std::string("STS")) >= 5;
    }, 3000));
}

TEST(TunerEndToEnd, AListedFrequencyOrTalkgroupIsSkippedAndNeverLogged) {
    Tuner t;
    t.Type("Auto_Skip_List", "154.43\n12345");
    t.Click("key_auto_skip_list_apply");
    EXPECT_EQ(t.form->LastMessage(), "Skip List Set");
    t.form->findChild<QMessageBox*>("message")->accept();
    EXPECT_EQ(t.FocusedName(), "Picture1");
    for (RadioView hit : {Reception("County Fire", "Dispatch 1", "01544300"),
                          Trunked("Metro Trunk", "ID:12345", "08552375", "12345")}) {
        t.mark = t.radio->ReceivedCommands().size();
        t.radio->SetOverride(Receiving(hit));
        ASSERT_TRUE(WaitUntil([&] { return !NonPollCommands(*t.radio, t.mark).empty(); }, 3000));
        EXPECT_EQ(NonPollCommands(*t.radio, t.mark)[0], "KEY,>,P");
        t.radio->SetOverride(Idle());
        ASSERT_TRUE(WaitUntil([&] { return t.Get<QPlainTextEdit>("Text1")->toPlainText().contains("Scanning"); }, 3000));
    }
    // A reception not on the list is logged as usual; the skipped ones never were.
    Transmission(*t.radio, Reception("Weather", "NOAA 1", "01625500"), 500);
    ASSERT_TRUE(WaitUntil([&] { return !Logged(*t.form).empty(); }, 3000));
    EXPECT_EQ(LoggedLines(*t.form), 1u);
    EXPECT_EQ(Logged(*t.form).rfind("Weather", 0), 0u) << Logged(*t.form);
}
