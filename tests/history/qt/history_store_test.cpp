// The history's SQLite file: hits in and out, the key of a hit, the file of
// an older version, the rows of a quiet day, and the marks for the server.
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "HistoryQtSupport.h"
#include "SqliteValue.h"
#include "app/qt/ScannerText.h"
#include "history/HistoryCsv.h"

namespace quorvane {
namespace {

using test::StoredHit;

class HistoryStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::App();
        ASSERT_TRUE(store.Open(Path())) << store.TakeReport().toStdString();
    }
    QString Path() const { return dir.filePath("history.sqlite"); }
    qint64 Count(const QString& sql) { return test::SqliteCount(Path(), sql); }
    QTemporaryDir dir;
    HistoryStore store;
    const HistoryRun run{{1764859800000, 3600}, "12-04-2025", "3-50-00-PM"};
    const HistoryFilter all = FilterOfDates("", QDate(2025, 1, 1), QDate(2099, 12, 31));
};

TEST_F(HistoryStoreTest, HitsRoundTripAreCountedAndExportAsCsv) {
    // A name with a comma, a quote, a CR and the scanner's byte 0xE9 (é).
    const std::string odd = "Caf\xE9, \"North\"\rGate";
    HistoryHit strong = StoredHit("Tac 2", 1764863473000, 2);
    strong.SignalPeak = 201;
    strong.SignalAverage = 143;
    EXPECT_EQ(store.Add(run, StoredHit(odd, 1764859873000, 1)), HistoryStore::Added::Yes);
    EXPECT_EQ(store.Add(run, strong), HistoryStore::Added::Yes);

    const std::vector<HistoryRow> rows = store.Rows(FilterOfDates("caf", QDate(2025, 1, 1), QDate(2025, 12, 31)), 1, {}, 10);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Start, "2025-12-04 15:51:13");
    EXPECT_EQ(rows[0].Channel, ScreenText(odd));
    EXPECT_TRUE(rows[0].Channel.startsWith(QString::fromUtf8("Café, \"North\"")));
    EXPECT_DOUBLE_EQ(rows[0].Seconds, 12.0);
    EXPECT_FALSE(rows[0].SignalPeak.has_value());
    EXPECT_EQ(store.Rows(all, 2, {}, 10)[0].SignalAverage, 143);

    const std::array<qint64, 24> hours = store.HourCounts(all);
    EXPECT_EQ(std::pair(hours[15], hours[16]), std::pair(qint64{1}, qint64{1}));
    const std::vector<ChannelCount> busiest = store.BusiestChannels(FilterOfDates("tac", QDate(2025, 12, 4), QDate(2025, 12, 4)), 10);
    ASSERT_EQ(busiest.size(), 1u);
    EXPECT_EQ(busiest[0].Hits, 1);
    EXPECT_TRUE(store.Rows(FilterOfDates("", QDate(2025, 12, 5), QDate(2099, 1, 1)), 0, {}, 10).empty());
    // "Stronger than": only hits whose peak is above the level.
    HistoryFilter strongOnly = all;
    strongOnly.StrongerThan = 200;
    EXPECT_EQ(store.Rows(strongOnly, 1, {}, 10).size(), 1u);
    EXPECT_EQ(store.HourCounts(strongOnly)[16], 1);
    strongOnly.StrongerThan = 201;
    EXPECT_TRUE(store.Rows(strongOnly, 1, {}, 10).empty());

    std::string csv;
    std::optional<RowKey> after;
    EXPECT_EQ(store.ExportPage(all, after, 1, csv), 1);
    EXPECT_EQ(store.ExportPage(all, after, 1, csv), 1);
    EXPECT_EQ(store.ExportPage(all, after, 1, csv), 0);
    QFile file(dir.filePath("out.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(HistoryCsvHeader() + csv));
    file.close();
    const QString python = QStandardPaths::findExecutable("python3");
    if (python.isEmpty()) GTEST_SKIP() << "python3 is not installed";
    QProcess reader;
    reader.start(python, {"-c",
                          "import csv,sys\n"
                          "rows=list(csv.reader(open(sys.argv[1],newline='',encoding='utf-8')))\n"
                          "print(len(rows), rows[0][7], rows[1][7], rows[1][8], rows[1][13], rows[2][7], sep='|', end='')",
                          file.fileName()});
    ASSERT_TRUE(reader.waitForFinished(10000));
    EXPECT_EQ(QString::fromUtf8(reader.readAllStandardOutput()), "3|channel|Tac 2|154.4300|201|" + ScreenText(odd))
        << reader.readAllStandardError().toStdString();
}

TEST_F(HistoryStoreTest, IdenticalLinesKeepEveryHitAndAnImportAddsThemOnce) {
    // Six pairs of identical lines: two short hits on a channel in one
    // second, as they end and as the log file gives them back.
    for (int pair = 0; pair < 6; ++pair) {
        for (int twice = 0; twice < 2; ++twice) {
            EXPECT_EQ(store.Add(run, StoredHit("Tac " + std::to_string(pair), 1764859873000 + pair, 100 + pair)),
                      HistoryStore::Added::Yes);
        }
    }
    EXPECT_EQ(Count("SELECT count(*) FROM hits"), 12);
    EXPECT_EQ(Count("SELECT max(occurrence) FROM hits"), 2);
    for (int import = 0; import < 2; ++import) {
        for (int occurrence : {1, 2, 3}) {
            const auto added = store.Add(run, StoredHit("Tac 0", 1764859873000, 100, occurrence));
            EXPECT_EQ(added, occurrence == 3 && import == 0 ? HistoryStore::Added::Yes : HistoryStore::Added::AlreadyThere);
        }
    }
    EXPECT_EQ(Count("SELECT count(*) FROM hits"), 13);
}

TEST_F(HistoryStoreTest, HitsWaitForTheServerInOrderAndAnImportSendsWhatWasLocal) {
    EXPECT_EQ(store.Add(run, StoredHit("Local", 1764859873000, 1)), HistoryStore::Added::Yes);
    for (int key = 2; key <= 4; ++key) store.Add(run, StoredHit("Tac", 1764859873000 + key, key), true);
    std::vector<QueuedHit> queue = store.Unsent(2);
    ASSERT_EQ(queue.size(), 2u);
    EXPECT_EQ(std::pair(queue[0].LineKey, queue[1].LineKey), std::pair(qint64{2}, qint64{3}));
    EXPECT_EQ(queue[0].LaunchTime, "3-50-00-PM");
    EXPECT_EQ(queue[0].Names[3], " 154.4300");
    EXPECT_TRUE(queue[0].SignalPeak.isNull());
    EXPECT_TRUE(store.Mark({queue[0].LocalId, queue[1].LocalId}, SentMark::Sent));
    EXPECT_EQ(store.UnsentCount(), 1);
    // The log file read with a server set: the hit kept here only goes too;
    // one the server has does not go again.
    EXPECT_EQ(store.Add(run, StoredHit("Local", 1764859873000, 1, 1), true), HistoryStore::Added::AlreadyThere);
    EXPECT_EQ(store.Add(run, StoredHit("Tac", 1764859873002, 2, 1), true), HistoryStore::Added::AlreadyThere);
    queue = store.Unsent(10);
    ASSERT_EQ(queue.size(), 2u);
    EXPECT_EQ(std::pair(queue[0].LineKey, queue[1].LineKey), std::pair(qint64{1}, qint64{4}));
}

TEST_F(HistoryStoreTest, AQuietDayIsFoundByItsDatesNotByWalkingEveryName) {
    HistoryFilter day = FilterOfDates("", QDate(2025, 12, 4), QDate(2025, 12, 4));
    for (const qint64 matches : {0, 5, 2000, 5000}) {
        const QString plan = store.RowsPlan(day, matches);
        EXPECT_TRUE(plan.contains("USING INDEX hits_by_start (start_ms>? AND start_ms<?)")) << plan.toStdString();
    }
    day.Text = "Tac";
    EXPECT_TRUE(store.RowsPlan(day, 5).contains("hits_by_name")) << store.RowsPlan(day, 5).toStdString();
    EXPECT_TRUE(store.RowsPlan(day, 5000).contains("hits_by_start")) << store.RowsPlan(day, 5000).toStdString();
}

// The layout of a history file made by Quorvane 1.0 (version 1).
const char* const kVersion1[] = {
    "CREATE TABLE runs (id INTEGER PRIMARY KEY, started_local TEXT NOT NULL, started_utc TEXT NOT NULL, "
    "launch_date TEXT NOT NULL, launch_time TEXT NOT NULL, UNIQUE (launch_date, launch_time))",
    "CREATE TABLE names (id INTEGER PRIMARY KEY, system TEXT NOT NULL, grp TEXT NOT NULL, channel TEXT NOT NULL, "
    "frequency TEXT NOT NULL, frequency_digits TEXT NOT NULL, code_or_id TEXT NOT NULL, "
    "UNIQUE (system, grp, channel, frequency, frequency_digits, code_or_id))",
    "CREATE TABLE hits (id INTEGER PRIMARY KEY, run_id INTEGER NOT NULL REFERENCES runs (id), name_id INTEGER NOT "
    "NULL REFERENCES names (id), start_local TEXT NOT NULL, start_utc TEXT NOT NULL, end_local TEXT NOT NULL, "
    "end_utc TEXT NOT NULL, duration_s REAL NOT NULL, recording TEXT, start_ms INTEGER NOT NULL, start_hour INTEGER "
    "NOT NULL, start_day INTEGER NOT NULL, line_key INTEGER NOT NULL UNIQUE)",
    "CREATE TABLE hour_counts (day INTEGER NOT NULL, hour INTEGER NOT NULL, n INTEGER NOT NULL, PRIMARY KEY (day, hour)) "
    "WITHOUT ROWID",
    "CREATE TABLE name_counts (name_id INTEGER NOT NULL, day INTEGER NOT NULL, n INTEGER NOT NULL, PRIMARY KEY "
    "(name_id, day)) WITHOUT ROWID",
    "CREATE TRIGGER hits_counted AFTER INSERT ON hits BEGIN INSERT INTO hour_counts VALUES (NEW.start_day, "
    "NEW.start_hour, 1) ON CONFLICT (day, hour) DO UPDATE SET n = n + 1; INSERT INTO name_counts VALUES (NEW.name_id, "
    "NEW.start_day, 1) ON CONFLICT (name_id, day) DO UPDATE SET n = n + 1; END",
    "CREATE INDEX hits_by_start ON hits (start_ms, name_id)",
    "CREATE INDEX hits_by_name ON hits (name_id, start_ms)",
    "CREATE INDEX hits_by_hour ON hits (start_hour, name_id, start_ms)",
    "CREATE VIEW hit_list AS SELECT h.id, h.run_id, h.start_local, h.start_utc, h.end_local, h.end_utc, h.duration_s, "
    "n.system, n.grp AS \"group\", n.channel, n.frequency, n.frequency_digits, n.code_or_id, h.recording FROM hits h "
    "JOIN names n ON n.id = h.name_id",
    "INSERT INTO runs VALUES (1, '2025-12-04T15:50:00+01:00', '2025-12-04T14:50:00Z', '12-04-2025', '3-50-00-PM')",
    "INSERT INTO names VALUES (1, 'County', 'Fire', 'Tac 2', ' 154.4300', '01544300', '')",
    "INSERT INTO hits VALUES (1, 1, 1, '2025-12-04T15:51:13+01:00', '2025-12-04T14:51:13Z', "
    "'2025-12-04T15:51:25+01:00', '2025-12-04T14:51:25Z', 12.0, 'a.wav', 1764859873000, 15, 20426, 77)",
    "INSERT INTO hits VALUES (2, 1, 1, '2025-12-04T16:51:13+01:00', '2025-12-04T15:51:13Z', "
    "'2025-12-04T16:51:25+01:00', '2025-12-04T15:51:25Z', 12.0, NULL, 1764863473000, 16, 20426, 78)",
    "PRAGMA user_version=1",
};

TEST(HistoryStoreUpgrade, AVersionOneFileIsBroughtUpToDateInPlaceWithEveryRow) {
    test::App();
    QTemporaryDir dir;
    const QString path = dir.filePath("history.sqlite");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "v1");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        query.exec("PRAGMA journal_mode=WAL");
        for (const char* statement : kVersion1) ASSERT_TRUE(query.exec(statement)) << statement;
    }
    QSqlDatabase::removeDatabase("v1");

    HistoryStore store;
    ASSERT_TRUE(store.Open(path)) << store.TakeReport().toStdString();
    const HistoryFilter all = FilterOfDates("", QDate(2025, 1, 1), QDate(2099, 12, 31));
    std::vector<HistoryRow> rows = store.Rows(all, 2, {}, 10);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].Recording, "a.wav");
    EXPECT_EQ(store.HourCounts(all)[15], 1);  // the counts came along
    // The same line again is a second hit now; the old line read from its
    // log file is the one already there.
    const HistoryRun run{{1764859800000, 3600}, "12-04-2025", "3-50-00-PM"};
    EXPECT_EQ(store.Add(run, StoredHit("Tac 2", 1764859873000, 77)), HistoryStore::Added::Yes);
    EXPECT_EQ(store.Add(run, StoredHit("Tac 2", 1764863473000, 78, 1)), HistoryStore::Added::AlreadyThere);
    EXPECT_EQ(store.Rows(all, 3, {}, 10).size(), 3u);
    EXPECT_EQ(store.HourCounts(all)[15], 2);
    EXPECT_FALSE(QFile::exists(path + "-wal"));  // back on a rollback journal
    store.Close();
    // Opened again: nothing more to do.
    ASSERT_TRUE(store.Open(path));
    EXPECT_EQ(store.Rows(all, 3, {}, 10).size(), 3u);
}

}  // namespace
}  // namespace quorvane
