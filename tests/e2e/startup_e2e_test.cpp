// Start-up and shut-down of the real main window: first run, restoring the
// window settings, and writing them back unchanged.
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "E2eSupport.h"

using namespace quorvane;
using namespace quorvane::e2e;

TEST(StartupEndToEnd, AFirstRunWaitsStoppedOnTheSettingsTab) {
    App();
    AppFolder folder;
    Form1 form(folder.Path());
    form.show();
    EXPECT_FALSE(form.Scanner().Running());
    EXPECT_EQ(form.findChild<QTabWidget*>("SSTab1")->currentIndex(), 3);
    EXPECT_FALSE(form.findChild<QPushButton*>("key_clear_log")->isVisible());
    EXPECT_EQ(form.findChild<QPushButton*>("Command2")->text(), "Run");
    EXPECT_FALSE(form.findChild<QPushButton*>("Command2")->isEnabled());
    EXPECT_EQ(Text3Of(form), "Select COM Port");
    EXPECT_EQ(form.findChild<QPlainTextEdit*>("Text1")->toPlainText(), "Choose Settings\nThen Hit Run\n");
    EXPECT_EQ(form.findChild<QLineEdit*>("Text4")->text(), "BC246T Quorvane - V1.0b");
    EXPECT_EQ(form.findChild<QComboBox*>("hit_intel_dly")->currentText(), "250");
    for (const char* list : {"direct_entry_state", "direct_entry_state2"}) {
        EXPECT_EQ(form.findChild<QComboBox*>(list)->currentText(), "NY") << list;
    }
    EXPECT_EQ(form.findChild<QComboBox*>("direct_entry_mod")->currentText(), "FM");
    EXPECT_EQ(form.windowTitle(), "BC246T Quorvane");
    // The keypad's keys are there under their own names, the bar and macro keys too.
    for (const char* name : {"key_hold_bar", "key_0", "key_g0", "key_rev", "key_cconly", "key_m3", "key_lock"}) {
        EXPECT_NE(Key(form, name), nullptr) << name;
    }
    form.close();
    EXPECT_TRUE(folder.Exists("pgm_settings.txt"));
}

TEST(StartupEndToEnd, SavedWindowSettingsAreRestoredAndWrittenBackUnchanged) {
    App();
    AppFolder folder;
    // Tab 2, record and log ticked, states, floating layout code, position,
    // a log folder, delay "2000".
    const std::string saved = "2\r\n1\r\n1\r\n0\r\n50\r\n3\r\n7\r\n1500\r\n3000\r\n\"/tmp/logs\"\r\n15\r\n";
    folder.Write("pgm_settings.txt", saved);
    folder.Write("macro_settings.txt", "\"F,H \"\"1,P\"\"\"\r\n\"2,P\"\r\n");
    {
        Form1 form(folder.Path());
        EXPECT_EQ(form.findChild<QTabWidget*>("SSTab1")->currentIndex(), 2);
        EXPECT_TRUE(form.findChild<QCheckBox*>("LogTextCheck")->isChecked());
        EXPECT_EQ(form.findChild<QComboBox*>("hit_intel_dly")->currentText(), "2000");
        EXPECT_EQ(form.findChild<QComboBox*>("direct_entry_state")->currentText(), "VI");
        EXPECT_EQ(form.findChild<QComboBox*>("direct_entry_state2")->currentText(), "AS");
        EXPECT_EQ(form.pos(), QPoint(100, 200));
        EXPECT_EQ(form.findChild<QLineEdit*>("m1")->text(), "F,H 1,P");
        EXPECT_EQ(form.findChild<QLineEdit*>("m2")->text(), "2,P");
        EXPECT_EQ(form.findChild<QLineEdit*>("m3")->text(), "");
        form.close();
    }
    EXPECT_EQ(folder.Read("pgm_settings.txt"), saved);
}

TEST(StartupEndToEnd, OddSettingsFilesFallBackValueByValue) {
    App();
    AppFolder folder;
    folder.Write("com_settings.txt", "12\r\nabc\r\n0\r\n");  // no such port: stay stopped
    folder.Write("pgm_settings.txt", "9\r\nx\r\n1\r\n\r\n");
    Form1 form(folder.Path());
    EXPECT_FALSE(form.Scanner().Running());
    EXPECT_EQ(form.findChild<QTabWidget*>("SSTab1")->currentIndex(), 0);  // tab 9 ignored
    EXPECT_TRUE(form.findChild<QCheckBox*>("LogTextCheck")->isChecked());
    EXPECT_EQ(form.findChild<QComboBox*>("hit_intel_dly")->currentText(), "250");
}
