// The history's SQLite file as the window writes and reads it.
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/qt/ScannerText.h"
#include "history/qt/HistoryStore.h"

namespace quorvane {
namespace {

// The history file as the window keeps it.
class HistoryStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "history_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
        ASSERT_TRUE(store.Open(dir.filePath("history.sqlite"))) << store.TakeReport().toStdString();
    }
    HistoryHit Hit(const std::string& channel, std::int64_t startMs, std::int64_t key) const {
        HistoryHit hit;
        hit.Names = {"County", "Fire", channel, " 154.4300", "01544300", ""};
        hit.Start = {startMs, 3600};
        hit.End = {startMs + 12000, 3600};
        hit.LineKey = key;
        return AsStoredText(hit);
    }
    QTemporaryDir dir;
    HistoryStore store;
    const HistoryRun run{{1764859800000, 3600}, "12-04-2025", "3-50-00-PM"};
    const HistoryFilter all = FilterOfDates("", QDate(2025, 1, 1), QDate(2099, 12, 31));
};

TEST_F(HistoryStoreTest, HitsRoundTripAreCountedAndExportAsCsv) {
    // A name with a comma, a quote, a CR and the scanner's byte 0xE9 (é).
    const std::string odd = "Caf\xE9, \"North\"\rGate";
    EXPECT_EQ(store.Add(run, Hit(odd, 1764859873000, 1)), HistoryStore::Added::Yes);
    EXPECT_EQ(store.Add(run, Hit("Tac 2", 1764863473000, 2)), HistoryStore::Added::Yes);
    EXPECT_EQ(store.Add(run, Hit("Tac 2", 1764863473000, 2)), HistoryStore::Added::AlreadyThere);

    QSqlQuery rows = store.Select(FilterOfDates("caf", QDate(2025, 1, 1), QDate(2025, 12, 31)), 1);
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(rows.value(0).toString(), "2025-12-04 15:51:13");
    EXPECT_EQ(rows.value(3).toString(), ScreenText(odd));
    EXPECT_TRUE(rows.value(3).toString().startsWith(QString::fromUtf8("Café, \"North\"")));
    EXPECT_EQ(rows.value(6).toString(), "12.0");
    EXPECT_FALSE(rows.next());

    const std::array<qint64, 24> hours = store.HourCounts(all);
    EXPECT_EQ(std::pair(hours[15], hours[16]), std::pair(qint64{1}, qint64{1}));
    const std::vector<ChannelCount> busiest = store.BusiestChannels(FilterOfDates("tac", QDate(2025, 12, 4), QDate(2025, 12, 4)), 10);
    ASSERT_EQ(busiest.size(), 1u);
    EXPECT_EQ(busiest[0].Hits, 1);
    EXPECT_FALSE(store.Select(FilterOfDates("", QDate(2025, 12, 5), QDate(2099, 1, 1)), 0).next());

    const QString csv = dir.filePath("out.csv");
    QString error;
    ASSERT_TRUE(store.ExportCsv(all, csv, &error)) << error.toStdString();
    const QString python = QStandardPaths::findExecutable("python3");
    if (python.isEmpty()) GTEST_SKIP() << "python3 is not installed";
    QProcess reader;
    reader.start(python, {"-c",
                          "import csv,sys\n"
                          "raw=open(sys.argv[1],'rb').read()\n"
                          "assert raw.count(b'\\r\\n')>=3\n"
                          "rows=list(csv.reader(open(sys.argv[1],newline='',encoding='utf-8')))\n"
                          "print(len(rows), rows[0][7], rows[1][7], rows[2][7], sep='|', end='')",
                          csv});
    ASSERT_TRUE(reader.waitForFinished(10000));
    EXPECT_EQ(QString::fromUtf8(reader.readAllStandardOutput()), "3|channel|Tac 2|" + ScreenText(odd))
        << reader.readAllStandardError().toStdString();
}

}  // namespace
}  // namespace quorvane
