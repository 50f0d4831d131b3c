// Hits on a simulated scanner, followed by the real main window: the
// display, the log line in the grid and in the run's log file.
#include <QAbstractItemModel>
#include <QCheckBox>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <regex>

#include "E2eSupport.h"
#include "app/qt/AppFiles.h"
#include "app/qt/ScannerText.h"

using namespace quorvane;
using namespace quorvane::e2e;

namespace {

const std::regex kTimes(R"(\t(\d{1,2}:\d\d:\d\d [AP]M)\t(\d{1,2}:\d\d:\d\d [AP]M)\t(\d\d-\d\d-\d{4})\r\n)");

}  // namespace

TEST(MonitorEndToEnd, AConventionalHitIsNamedFromHitIntelAndLoggedToGridAndFile) {
    Monitored m("01544300\tDispatch 1\tFire\tCounty\r\n01544300\tTac 2\tEMS\tCounty\r\n\r\n");
    RadioView hit = Reception("County Fire", "Dispatch 1", "01544300");
    hit.icons1 = "110000000000000";
    hit.icons2 = "10000000000001000";
    // The display and icons follow the radio while it receives.
    m.radio->SetOverride(Receiving(hit));
    ASSERT_TRUE(WaitUntil([&] { return m.Widget("Text1").startsWith("County Fire"); }, 3000));
    EXPECT_EQ(m.Widget("Text1"), "County Fire     \nDispatch 1      \n");
    EXPECT_EQ(m.Widget("freq"), " 154.4300");
    EXPECT_TRUE(m.Widget("IconsSet1").startsWith("SYS 1"));
    EXPECT_TRUE(m.Widget("IconsSet2").contains("FM "));
    m.Transmit(hit, 1500);

    const std::string line = Logged(*m.form);
    std::smatch times;
    ASSERT_TRUE(std::regex_search(line, times, kTimes)) << line;
    EXPECT_EQ(line, "County / Fire\tDispatch 1\t 154.4300\t\t" + times[1].str() + "\t" + times[2].str() + "\t" +
                        times[3].str() + "\r\n");
    // The same line in the grid and, with its final line break, in the run's file.
    EXPECT_EQ(m.Cell(0, 1), "County / Fire");
    EXPECT_EQ(m.Cell(0, 2), "Dispatch 1");
    EXPECT_EQ(m.Cell(0, 3), " 154.4300");
    EXPECT_EQ(m.Cell(0, 7), QString::fromStdString(times[3].str()));
    EXPECT_EQ(m.Grid()->model()->rowCount(), 21);
    EXPECT_TRUE(LogPath(*m.form).startsWith(m.folder.Path()));
    EXPECT_EQ(LogFile(*m.form), line + "\r\n");
}

TEST(MonitorEndToEnd, AtEverySpeedHitsAreLoggedAndThePollNeverOutrunsTheLine) {
    for (const int baud : {57600, 9600}) {
        Monitored m("01544300\tDispatch 1\tFire\tCounty\r\n", baud);
        m.Transmit(Reception("County Fire", "Dispatch 1", "01544300"), 1500);
        EXPECT_EQ(Logged(*m.form).rfind("County / Fire\tDispatch 1\t 154.4300\t\t", 0), 0u) << baud;
        // At most the round on its way is unanswered: requests never pile up.
        EXPECT_LE(m.radio->ReceivedCommands().size(), m.radio->RepliesWritten() + 3) << baud;
    }
    // A radio that stops answering is still told after 3 s, and the
    // display it left is dimmed and says why; it is live again with the
    // first answer, and dimmed once more after Stop.
    Monitored m({}, 9600);
    auto* text1 = m.form->findChild<QPlainTextEdit*>("Text1");
    const auto dimmedFor = [&](const char* why) {
        return text1->palette().color(QPalette::Text) != QColor(Qt::black) && text1->toolTip().contains(why);
    };
    EXPECT_EQ(text1->palette().color(QPalette::Text), QColor(Qt::black));
    m.radio->SetAnswering(false);
    EXPECT_TRUE(WaitUntil([&] { return m.Widget("Text3") == "No reply"; }, 5000));
    EXPECT_TRUE(dimmedFor("No reply")) << text1->toolTip().toStdString();
    EXPECT_TRUE(m.Widget("Text1").contains("Scanning"));  // the last text stays, to be read
    m.radio->SetAnswering(true);
    EXPECT_TRUE(WaitUntil([&] { return text1->palette().color(QPalette::Text) == QColor(Qt::black); }, 5000));
    EXPECT_EQ(text1->toolTip(), "");
    QTest::mouseClick(m.form->findChild<QPushButton*>("Command2"), Qt::LeftButton);  // Stop
    EXPECT_TRUE(dimmedFor("Stopped"));
}

TEST(MonitorEndToEnd, KeysPressedWhilePollingNeverCorruptTheDisplayOrTheLog) {
    Monitored m("01544300\tDispatch 1\tFire\tCounty\r\n");
    const RadioView hit = Receiving(Reception("County Fire", "Dispatch 1", "01544300"));
    m.radio->SetOverride(hit);
    for (int i = 0; i < 15; ++i) {
        QTest::mouseClick(Key(*m.form, i % 2 ? "key_5" : "key_hold"), Qt::LeftButton);
        WaitUntil([] { return false; }, 60);
        EXPECT_FALSE(m.Widget("Text1").contains("OK")) << m.Widget("Text1").toStdString();
        EXPECT_FALSE(m.Widget("freq").contains("K"));
    }
    m.Transmit(hit, 300);
    EXPECT_EQ(Logged(*m.form).rfind("County / Fire\tDispatch 1\t 154.4300\t\t", 0), 0u) << Logged(*m.form);
}

TEST(MonitorEndToEnd, ATrunkedHitLogsItsTalkgroupAndShowsTheIdThenClearLogEmptiesGridAndFileFromTheLogTabOnly) {
    Monitored m;
    const RadioView trunked = Trunked("Metro Trunk", "ID:12345", "08552375", "12345", "Metro", "Police", "Dispatch");
    m.radio->SetOverride(Receiving(trunked));
    ASSERT_TRUE(WaitUntil([&] { return m.Widget("freq") == "ID: 12345"; }, 3000));
    m.Transmit(trunked, 1000);
    const std::string line = Logged(*m.form);
    EXPECT_EQ(line.rfind("Metro / Police\tDispatch\t 855.2375\t12345\t", 0), 0u) << line;
    EXPECT_EQ(m.Cell(0, 4), "12345");

    m.Transmit(Reception("Weather", "NOAA 1", "01625500"), 400);
    auto* clear = m.form->findChild<QPushButton*>("key_clear_log");
    auto* tabs = m.form->findChild<QTabWidget*>("SSTab1");
    EXPECT_TRUE(clear->isVisible());
    tabs->setCurrentIndex(2);
    EXPECT_FALSE(clear->isVisible());
    tabs->setCurrentIndex(0);
    ASSERT_TRUE(clear->isVisible());
    QTest::mouseClick(clear, Qt::LeftButton);
    EXPECT_EQ(Logged(*m.form), "");
    EXPECT_EQ(m.Grid()->model()->rowCount(), 20);
    EXPECT_EQ(LogFile(*m.form), "\r\n");
}

TEST(MonitorEndToEnd, AnUnwritableLogFolderIsReportedOnceAndLoggingGoesOn) {
    Monitored m;
    m.form->SetFolderChooser([] { return QString("/nonexistent/quorvane-logs"); });
    QTest::mouseClick(m.form->findChild<QPushButton*>("log_dir"), Qt::LeftButton);
    EXPECT_EQ(m.form->LastMessage(), "Log Directory now set to /nonexistent/quorvane-logs");
    RadioView hit = Reception("Weather", "NOAA 1", "01625500");
    m.Transmit(hit, 300);
    // The log file and the history beside it both say so (the history from
    // its own thread, a moment later).
    QStringList told;
    WaitUntil([&] {
        told.clear();
        for (auto* box : m.form->findChildren<QMessageBox*>("message")) told << box->text();
        return told.join("\n").contains("history.sqlite cannot be opened");
    }, 3000);
    EXPECT_TRUE(told.join("\n").contains("cannot be written")) << told.join("\n").toStdString();
    EXPECT_TRUE(told.join("\n").contains("history.sqlite cannot be opened")) << told.join("\n").toStdString();
    m.form->SetFolderChooser([] { return QString(); });  // cancelled: back to the app folder
    QTest::mouseClick(m.form->findChild<QPushButton*>("log_dir"), Qt::LeftButton);
    EXPECT_EQ(m.form->LastMessage(), "Log Directory defaulting back to " + m.folder.Path());
    m.Transmit(hit, 300);
    EXPECT_EQ(Logged(*m.form).substr(0, 8), "Weather ");
    EXPECT_EQ(LogFile(*m.form), Logged(*m.form) + "\r\n");
}

TEST(MonitorEndToEnd, TheExtendedInfoTabShowsTheNotesOfTheFrequency) {
    Monitored m;
    m.folder.Write("154_4150.txt", "Mutual aid\r\ncaf\xe9");
    RadioView hit = Reception("County", "Mutual Aid", "01544150");
    m.Transmit(hit, 400);
    auto* frame = m.form->findChild<QGroupBox*>("extended_info_frame");
    EXPECT_EQ(frame->title(), " 154.4150 Extended Info");
    EXPECT_EQ(m.Widget("extended_text"), QString::fromUtf8("Mutual aid\ncaf\xc3\xa9"));
    hit.frequency = "01625500";
    m.Transmit(hit, 400);
    EXPECT_EQ(m.Widget("extended_text"), "Not Avilable");

    // Between hits, entering the notes box shows the notes of what the
    // scanner is on now, not those of the last hit's start.
    m.folder.Write("460_0250.txt", "Ambulance");
    m.radio->SetOverride(Reception("County", "Ambulance", "04600250"));
    ASSERT_TRUE(WaitUntil([&] { return m.Widget("freq") == " 460.0250"; }, 3000));
    m.form->findChild<QPlainTextEdit*>("extended_text")->setFocus();
    EXPECT_EQ(m.Widget("extended_text"), "Ambulance");
    EXPECT_EQ(frame->title(), " 460.0250 Extended Info");
    EXPECT_FALSE(m.form->findChild<QPlainTextEdit*>("extended_text")->hasFocus());
}

TEST(MonitorEndToEnd, FoldersAndNamesWithLettersBeyondAsciiKeepThemOnDisk) {
    QTemporaryDir logs;
    const QString folder = logs.path() + QString::fromUtf8("/Logs jos\u00e9 \u00df \u65e5");
    ASSERT_TRUE(QDir().mkpath(folder));
    {
        Monitored m;
        m.form->SetFolderChooser([&] { return folder; });
        QTest::mouseClick(m.form->findChild<QPushButton*>("log_dir"), Qt::LeftButton);
        EXPECT_EQ(m.form->LastMessage(), "Log Directory now set to " + folder);
        // A channel named with the scanner's byte 0xE9 finds its notes file "Café_12345.txt".
        QFile notes(m.folder.Path() + QString::fromUtf8("/Caf\u00e9_12345.txt"));
        ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
        notes.write("Cafe notes");
        notes.close();
        m.Transmit(Trunked("Caf\xe9", "ID:12345", "08552375", "12345", "Metro"), 400);
        EXPECT_EQ(m.Widget("extended_text"), "Cafe notes");
        EXPECT_TRUE(LogPath(*m.form).startsWith(folder + "/"));
        EXPECT_TRUE(QFile::exists(LogPath(*m.form))) << LogPath(*m.form).toStdString();
    }
    // Restored from pgm_settings.txt, where it is written in the file system's bytes.
    Monitored again({}, 0, folder.toUtf8().toStdString());
    again.Transmit(Reception("Weather", "NOAA 1", "01625500"), 300);
    EXPECT_TRUE(LogPath(*again.form).startsWith(folder + "/"));
    EXPECT_TRUE(QFile::exists(LogPath(*again.form)));
    // A recording named from scanner text lands under the same mapping.
    EXPECT_EQ(FileSystemText(ScannerNamePath(FileSystemBytes(folder), "Caf\xe9_.wav")),
              folder + QString::fromUtf8("/Caf\u00e9_.wav"));
}
