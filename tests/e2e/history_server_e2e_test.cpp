// The history shared on a PostgreSQL server that the test starts itself:
// two real programs on two simulators write into it with their station
// names, a server stopped during a run gets the run's hits once each when it
// is back, a wrong password is told and nothing is lost, and old logs are
// imported into it. Skipped, saying why, where PostgreSQL cannot run.
#include <QComboBox>

#include "E2eSupport.h"
#include "SqliteValue.h"
#include "history/qt/HistoryTab.h"
#include "history/qt/TestPostgres.h"

using namespace quorvane;
using namespace quorvane::e2e;
using quorvane::test::TestPostgres;

namespace {

#define START_POSTGRES(pg)                                                                          \
    App();                                                                                          \
    TestPostgres pg;                                                                                \
    if (!pg.Ready()) GTEST_SKIP() << "PostgreSQL cannot be run here: " << pg.Error().toStdString(); \
    ASSERT_TRUE(pg.MakeDatabase("club", "club", kPassword)) << pg.LastError().toStdString()

// A password that needs every kind of escaping in the address.
const QString kPassword = "p@ss:w/rd%;'x ";

void WriteServerFile(const AppFolder& folder, const QString& url, const std::string& station) {
    folder.Write("history_server.txt", url.toStdString() + "\r\n" + station + "\r\n");
}

qint64 LocalCount(const AppFolder& folder, const QString& sql) {
    return test::SqliteCount(QDir(folder.Path()).filePath("history.sqlite"), sql);
}

// The real program with an app folder of its own, on a simulator of its own.
struct RealStation {
    AppFolder folder;
    std::unique_ptr<Simulator> radio;
    QProcess program;

    RealStation(const QString& url, const std::string& name) {
        radio = StartRadio(folder);
        radio->SetOverride(Idle());
        folder.SaveComSettings();
        WriteServerFile(folder, url, name);
        StartQuorvane(program, {"--app-dir", folder.Path()});
    }
    ~RealStation() {
        program.terminate();
        program.waitForFinished(10000);
    }
    // A transmission of holdMs, then the scan delay and the idle display.
    void Transmit(RadioView view, int holdMs) {
        Transmission(*radio, view, holdMs);
        WaitUntil([] { return false; }, 400);
        radio->SetOverride(Idle());
    }
};

}  // namespace

TEST(HistoryServerEndToEnd, TwoStationsWriteIntoOneServerUnderTheirNames) {
    START_POSTGRES(pg);
    const QString url = pg.Url("club", kPassword, "club");
    RealStation hill(url, "Hill top");
    RealStation home(url, "Home");
    ASSERT_TRUE(WaitUntil([&] { return hill.radio->ReceivedCommands().size() > 3 && home.radio->ReceivedCommands().size() > 3; }, 10000));
    hill.Transmit(Reception("County Fire", "Dispatch 1", "01544300"), 600);
    home.Transmit(Reception("Weather", "NOAA 1", "01625500"), 600);
    ASSERT_TRUE(WaitUntil([&] { return pg.Value("SELECT count(*) FROM hit_list", "club").toInt() == 2; }, 15000))
        << pg.LastError().toStdString();
    EXPECT_EQ(pg.Value("SELECT string_agg(station || ':' || channel || ':' || frequency, ',' ORDER BY station) "
                       "FROM hit_list", "club").toString(),
              "Hill top:Dispatch 1: 154.4300,Home:NOAA 1: 162.5500");

    // A third station's History tab reads every station's hits.
    AppFolder reader;
    WriteServerFile(reader, url, "Shack");
    HistoryRecorder recorder([&] { return reader.Path(); }, reader.Path());
    HistoryTab tab(recorder, [](const QString&) {});
    tab.resize(760, 330);
    tab.show();
    auto* table = tab.findChild<QTableView*>("history_table");
    ASSERT_TRUE(WaitUntil([&] { return !tab.Searching() && table->model()->rowCount() == 2; }, 10000));
    EXPECT_FALSE(table->isColumnHidden(9));
    auto* stations = tab.findChild<QComboBox*>("history_station");
    ASSERT_EQ(stations->count(), 3);
    stations->setCurrentIndex(stations->findText("Home"));
    tab.Refresh();
    ASSERT_TRUE(WaitUntil([&] { return !tab.Searching() && table->model()->rowCount() == 1; }, 10000));
    EXPECT_EQ(table->model()->index(0, 9).data().toString(), "Home");
}

TEST(HistoryServerEndToEnd, AServerStoppedDuringARunGetsTheRunsHitsOnceEachWhenBack) {
    START_POSTGRES(pg);
    Monitored m;
    WriteServerFile(m.folder, pg.Url("club", kPassword, "club"), "Hill top");
    m.Restart();
    const auto onServer = [&] { return pg.Value("SELECT count(*) FROM hits", "club").toInt(); };
    m.Transmit(Reception("County Fire", "Dispatch 1", "01544300"), 500);
    ASSERT_TRUE(WaitUntil([&] { return onServer() == 1; }, 10000));

    ASSERT_TRUE(pg.Stop());
    m.Transmit(Reception("County Fire", "Dispatch 2", "01545300"), 500);
    m.Transmit(Reception("County Fire", "Dispatch 2", "01545300"), 500);
    ASSERT_TRUE(WaitUntil([&] { return m.Widget("Text3") == "History server away"; }, 10000)) << m.Widget("Text3").toStdString();
    EXPECT_TRUE(WaitUntil([&] { return LocalCount(m.folder, "SELECT count(*) FROM hits WHERE sent = 0") == 2; }, 5000));

    ASSERT_TRUE(pg.Start());
    ASSERT_TRUE(WaitUntil([&] { return onServer() == 3; }, 30000));
    EXPECT_TRUE(WaitUntil([&] { return LocalCount(m.folder, "SELECT count(*) FROM hits WHERE sent = 0") == 0; }, 5000));
    EXPECT_EQ(pg.Value("SELECT count(DISTINCT (run_id, line_key, occurrence)) FROM hits", "club").toInt(), 3);
    m.form->close();  // nothing more goes
    EXPECT_EQ(onServer(), 3);
}

TEST(HistoryServerEndToEnd, AWrongPasswordIsToldOnceAndNothingIsLost) {
    START_POSTGRES(pg);
    Monitored m;
    WriteServerFile(m.folder, pg.Url("club", "not the password", "club"), "Hill top");
    m.Restart();
    m.Transmit(Reception("County Fire", "Dispatch 1", "01544300"), 500);
    ASSERT_TRUE(WaitUntil([&] { return m.form->LastMessage().contains("refused the password"); }, 10000))
        << m.form->LastMessage().toStdString();
    const QString told = m.form->LastMessage();
    EXPECT_EQ(m.Widget("Text3"), "History login failed");
    m.Transmit(Reception("County Fire", "Dispatch 2", "01545300"), 500);
    ASSERT_TRUE(WaitUntil([&] { return LocalCount(m.folder, "SELECT count(*) FROM hits WHERE sent = 0") == 2; }, 5000));
    EXPECT_EQ(m.form->LastMessage(), told);
    EXPECT_EQ(pg.Value("SELECT count(*) FROM pg_tables WHERE tablename = 'hits'", "club").toInt(), 0);

    // With the password put right, the next run sends what waited.
    WriteServerFile(m.folder, pg.Url("club", kPassword, "club"), "Hill top");
    m.Restart();
    ASSERT_TRUE(WaitUntil([&] { return pg.Value("SELECT count(*) FROM hits", "club").toInt() == 2; }, 15000));
    EXPECT_TRUE(WaitUntil([&] { return LocalCount(m.folder, "SELECT count(*) FROM hits WHERE sent = 0") == 0; }, 5000));
}

TEST(HistoryServerEndToEnd, ImportLogsSendsOldLogsToTheServerOnce) {
    START_POSTGRES(pg);
    AppFolder app;
    AppFolder logs;
    WriteServerFile(app, pg.Url("club", kPassword, "club"), "Hill top");
    logs.Write("12-04-2026_2-51-13-PM.txt",
               "County / Fire\tDispatch 1\t 154.4300\t\t2:55:00 PM\t2:55:20 PM\t12-04-2026\r\n"
               "County / Fire\tDispatch 1\t 154.4300\t\t2:55:00 PM\t2:55:20 PM\t12-04-2026\r\n");
    logs.Write("02-31-2026_9-00-00-AM.txt", "Weather / \tNOAA 1\t 162.5500\t\t9:01:00 AM\t9:01:30 AM\t02-31-2026\r\n");
    const auto import = [&] {
        QProcess program;
        program.start(QUORVANE_EXE, {"--app-dir", app.Path(), "--import-logs", logs.Path()});
        EXPECT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
        return QString::fromUtf8(program.readAllStandardOutput() + program.readAllStandardError());
    };
    const QString first = import();
    EXPECT_TRUE(first.contains("Added 2 hits")) << first.toStdString();
    EXPECT_TRUE(first.contains("Sent 2 hits to the history server")) << first.toStdString();
    EXPECT_TRUE(first.contains("Skipped 02-31-2026_9-00-00-AM.txt: 02-31-2026 is not a date")) << first.toStdString();
    const QString second = import();
    EXPECT_TRUE(second.contains("Added 0 hits") && second.contains("Sent 0 hits")) << second.toStdString();
    EXPECT_EQ(pg.Value("SELECT count(*) || ' ' || min(station) FROM hits", "club").toString(), "2 Hill top");
}
