// The hit history on a simulated scanner: hits of every run in
// history.sqlite and on the "History" tab, a damaged file set aside, and old
// log files imported from the command line.
#include <QDir>
#include <QPushButton>
#include <QSignalSpy>
#include <QLabel>

#include "E2eSupport.h"
#include "SqliteValue.h"
#include "history/qt/HistoryTab.h"

using namespace quorvane;
using namespace quorvane::e2e;

namespace {

using test::SqliteValue;

QString HistoryPath(const Monitored& m) { return QDir(m.folder.Path()).filePath("history.sqlite"); }

HistoryTab* History(const Monitored& m) { return m.form->findChild<HistoryTab*>("history_tab"); }

}  // namespace

TEST(HistoryEndToEnd, HitsOfEveryRunAreKeptShownPlayedAndExported) {
    Monitored m("01544300\tDispatch 1\tFire\tCounty\r\n");
    m.Transmit(Reception("County Fire", "Dispatch 1", "01544300"), 600);
    m.Transmit(Reception("Weather", "NOAA 1", "01625500"), 600);

    auto* tabs = m.form->findChild<QTabWidget*>("SSTab1");
    tabs->setCurrentIndex(4);
    EXPECT_EQ(tabs->tabText(4), "History");
    EXPECT_FALSE(m.form->findChild<QPushButton*>("key_clear_log")->isVisible());
    auto* table = m.form->findChild<QTableView*>("history_table");
    ASSERT_TRUE(WaitUntil([&] { return table->model()->rowCount() == 2; }, 3000));
    const auto cell = [&](int row, int column) { return table->model()->index(row, column).data().toString(); };
    EXPECT_EQ(cell(0, 1) + "|" + cell(0, 3), "Weather|NOAA 1");  // newest first
    EXPECT_EQ(cell(1, 1) + "|" + cell(1, 2) + "|" + cell(1, 3) + "|" + cell(1, 4), "County|Fire|Dispatch 1| 154.4300");

    const QString path = HistoryPath(m);
    EXPECT_EQ(SqliteValue(path, "SELECT count(*) FROM hits").toInt(), 2);
    EXPECT_EQ(SqliteValue(path, "SELECT frequency_digits FROM hit_list WHERE channel = 'Dispatch 1'").toString(), "01544300");
    EXPECT_TRUE(SqliteValue(path, "SELECT duration_s FROM hits ORDER BY id LIMIT 1").toDouble() > 0.3);
    EXPECT_EQ(SqliteValue(path, "PRAGMA journal_mode").toString(), "delete");
    const QString runName = SqliteValue(path, "SELECT launch_date || '_' || launch_time || '.txt' FROM runs").toString();
    EXPECT_TRUE(LogPath(*m.form).endsWith(runName)) << runName.toStdString();

    // A hit with a recording plays it; a recording gone is said plainly.
    HistoryHit recorded;
    recorded.Start = recorded.End = {QDateTime::currentMSecsSinceEpoch() + 60000, 0};
    recorded.RecordingFile = "rec.wav";
    recorded.LineKey = 7;
    {
        HistoryStore other;  // another program adding to the same file
        ASSERT_TRUE(other.Open(path));
        ASSERT_EQ(other.Add({}, recorded), HistoryStore::Added::Yes);
    }
    m.folder.Write("rec.wav", "RIFF");
    QUrl played;
    History(m)->SetOpener([&](const QUrl& url) { played = url; return true; });
    History(m)->Refresh();
    ASSERT_TRUE(WaitUntil([&] { return table->model()->rowCount() == 3; }, 3000));
    const QPoint firstRow = table->visualRect(table->model()->index(0, 0)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, firstRow);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, firstRow);
    EXPECT_EQ(played, QUrl::fromLocalFile(QDir(m.folder.Path()).filePath("rec.wav")));
    QFile::remove(QDir(m.folder.Path()).filePath("rec.wav"));
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, firstRow);
    EXPECT_TRUE(m.form->LastMessage().contains("is not there any more")) << m.form->LastMessage().toStdString();

    // "Export CSV..." saves the selection: the search narrows it.
    const QString csv = QDir(m.folder.Path()).filePath("out.csv");
    History(m)->SetSaveChooser([&] { return csv; });
    m.form->findChild<QLineEdit*>("history_search")->setText("noaa");
    History(m)->Refresh();
    ASSERT_TRUE(WaitUntil([&] { return !History(m)->Searching() && table->model()->rowCount() == 1; }, 3000));
    QSignalSpy exportDone(History(m), &HistoryTab::Exported);
    QTest::mouseClick(m.form->findChild<QPushButton*>("history_export"), Qt::LeftButton);
    ASSERT_TRUE(exportDone.wait(5000));
    const std::string exported = m.folder.Read("out.csv");
    EXPECT_EQ(std::count(exported.begin(), exported.end(), '\n'), 2) << exported;
    EXPECT_NE(exported.find(",NOAA 1,162.5500,01625500,,"), std::string::npos) << exported;
    // The tab says how many hits match, and where they went.
    auto* status = m.form->findChild<QLabel*>("history_status");
    EXPECT_EQ(status->text(), "Exported 1 hit to out.csv");
    m.form->findChild<QLineEdit*>("history_search")->setText("nothing like it");
    History(m)->Refresh();
    EXPECT_TRUE(WaitUntil([&] { return status->text() == "No hits match"; }, 3000)) << status->text().toStdString();
    m.form->findChild<QLineEdit*>("history_search")->setText("");
    History(m)->Refresh();
    EXPECT_TRUE(WaitUntil([&] { return status->text() == "3 hits"; }, 3000)) << status->text().toStdString();

    // A second run adds to the same history and comes back on its tab.
    m.Restart();
    EXPECT_EQ(m.form->findChild<QTabWidget*>("SSTab1")->currentIndex(), 4);
    m.Transmit(Reception("Weather", "NOAA 2", "01624000"), 600);
    EXPECT_TRUE(WaitUntil([&] { return SqliteValue(path, "SELECT count(*) FROM hits").toInt() == 4; }, 3000));
    EXPECT_EQ(SqliteValue(path, "SELECT count(DISTINCT run_id) FROM hits WHERE coalesce(recording, '') = ''").toInt(), 2);
}

TEST(HistoryEndToEnd, ADamagedHistoryIsSetAsideReportedAndLoggingGoesOn) {
    Monitored m;
    const std::string garbage(4096, 'x');
    m.folder.Write("history.sqlite", garbage);
    m.Transmit(Reception("Weather", "NOAA 1", "01625500"), 600);
    ASSERT_TRUE(WaitUntil([&] { return m.form->LastMessage().contains("was damaged"); }, 3000))
        << m.form->LastMessage().toStdString();
    EXPECT_EQ(m.Widget("Text3"), "History file damaged");
    EXPECT_EQ(m.Cell(0, 2), "NOAA 1");
    EXPECT_EQ(LogFile(*m.form), Logged(*m.form) + "\r\n");
    const QStringList aside = QDir(m.folder.Path()).entryList({"history.sqlite.damaged-*"});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(m.folder.Read(aside[0].toStdString()), garbage);
    EXPECT_EQ(SqliteValue(HistoryPath(m), "SELECT count(*) FROM hits").toInt(), 1);
    const QString told = m.form->LastMessage();
    m.Transmit(Reception("Weather", "NOAA 2", "01624000"), 600);
    EXPECT_TRUE(WaitUntil([&] { return SqliteValue(HistoryPath(m), "SELECT count(*) FROM hits").toInt() == 2; }, 3000));
    EXPECT_EQ(m.form->LastMessage(), told);  // told once
}

TEST(HistoryEndToEnd, ImportLogsAddsOldLogFilesOnceWithoutADisplay) {
    AppFolder app;
    AppFolder logs;
    logs.Write("12-04-2026_2-51-13-PM.txt",
               "County / Fire\tDispatch 1\t 154.4300\t\t2:55:00 PM\t2:55:20 PM\t12-04-2026\r\n"
               "Metro / Police\tDispatch\t 855.2375\t12345\t2:53:00 PM\t2:53:09 PM\t12-04-2026\r\n\r\n");
    logs.Write("12-05-2026_9-00-00-AM.txt", "Weather / \tNOAA 1\t 162.5500\t\t9:01:00 AM\t9:01:30 AM\t12-05-2026\r\n\r\n");
    logs.Write("notes.txt", "not a log\r\n");
    const auto import = [&] {
        QProcess program;
        StartQuorvane(program, {"--app-dir", app.Path(), "--import-logs", logs.Path()},
                      ProgramEnvironment("xcb"));  // a window would fail here
        EXPECT_TRUE(program.waitForFinished(20000));
        EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
        return QString::fromUtf8(program.readAllStandardOutput());
    };
    EXPECT_TRUE(import().startsWith("Added 3 hits to "));
    EXPECT_TRUE(import().startsWith("Added 0 hits to "));
    const QString path = QDir(app.Path()).filePath("history.sqlite");
    EXPECT_EQ(SqliteValue(path, "SELECT count(*) FROM hits").toInt(), 3);
    EXPECT_EQ(SqliteValue(path, "SELECT count(*) FROM runs").toInt(), 2);
    EXPECT_EQ(SqliteValue(path, "SELECT group_concat(code_or_id || '@' || start_local, ' ') FROM "
                              "(SELECT * FROM hit_list ORDER BY start_utc)").toString().left(25),
              "12345@2026-12-04T14:53:00");
}
