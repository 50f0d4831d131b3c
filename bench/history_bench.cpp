// The hit history at 1,000,000 hits: adding one hit, a search with its chart,
// the first rows of the table (also of a quiet day), and the file's size. The
// history is generated once, in one transaction inside SQLite, before the
// first benchmark.
#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <numeric>
#include <vector>

#include "history/qt/HistoryStore.h"

namespace {

using quorvane::HistoryFilter;
using quorvane::HistoryStore;

constexpr int kHits = 1000000;
constexpr int kNames = 400;
constexpr qint64 kFirstStart = 1700000000;  // a hit every 30 s from Nov 2023 on: about a year
// A quiet day after the busy year: a few hits an hour.
constexpr qint64 kQuietDay = (kFirstStart / 86400 + 360) * 86400;
constexpr int kQuietHits = 60;

struct Fixture {
    QTemporaryDir dir;
    HistoryStore store;
    double seconds = 0;

    Fixture() {
        const QString path = QDir(dir.path()).filePath("history.sqlite");
        store.Open(path);
        QElapsedTimer timer;
        timer.start();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "fixture");
            db.setDatabaseName(path);
            db.open();
            QSqlQuery q(db);
            db.transaction();
            q.exec("INSERT INTO runs VALUES (1, '2023-11-14T22:13:20+00:00', '2023-11-14T22:13:20Z', '11-14-2023', "
                   "'10-13-20-PM')");
            q.exec(QString("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                           "INSERT INTO names SELECT i + 1, 'System ' || (i % 7), 'Group ' || (i % 23), "
                           "'Channel ' || i, printf(' %d.%04d', 150 + i % 300, i * 7 % 10000), "
                           "printf('%04d%04d', 150 + i % 300, i * 7 % 10000), "
                           "CASE WHEN i % 3 = 0 THEN '' ELSE CAST(i * 37 % 9000 AS TEXT) END FROM n")
                       .arg(kNames - 1));
            const bool made =
                q.exec(QString("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                               "INSERT INTO hits (id, run_id, name_id, start_local, start_utc, end_local, end_utc, "
                               "duration_s, recording, start_ms, start_hour, start_day, line_key, occurrence, "
                               "signal_peak, signal_average) SELECT i + 1, 1, (i * 7919) % %2 + 1, "
                               "strftime('%Y-%m-%dT%H:%M:%S+00:00', %3 + i * 30, 'unixepoch'), "
                               "strftime('%Y-%m-%dT%H:%M:%SZ', %3 + i * 30, 'unixepoch'), "
                               "strftime('%Y-%m-%dT%H:%M:%S+00:00', %3 + i * 30 + 12, 'unixepoch'), "
                               "strftime('%Y-%m-%dT%H:%M:%SZ', %3 + i * 30 + 12, 'unixepoch'), 12.0, "
                               "CASE WHEN i % 10 = 0 THEN 'County_Fire_Dispatch-1_154.4300___2-51-13-PM_2-51-40-PM_"
                               "12-04-2026.wav' END, (%3 + i * 30) * 1000, ((%3 + i * 30) / 3600) % 24, (%3 + i * 30) / 86400, "
                               "i * 2654435761, 1, i % 256, i % 200 FROM n")
                           .arg(kHits - 1)
                           .arg(kNames)
                           .arg(kFirstStart));
            // The quiet day, a hit every 24 minutes.
            const bool quiet =
                q.exec(QString("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                               "INSERT INTO hits (run_id, name_id, start_local, start_utc, end_local, end_utc, "
                               "duration_s, start_ms, start_hour, start_day, line_key, occurrence) SELECT 1, i % 7 + 1, "
                               "strftime('%Y-%m-%dT%H:%M:%S+00:00', %2 + i * 1440, 'unixepoch'), '', '', '', 5.0, "
                               "(%2 + i * 1440) * 1000, i * 1440 / 3600, %2 / 86400, -1 - i, 1 FROM n")
                           .arg(kQuietHits - 1)
                           .arg(kQuietDay));
            db.commit();
            if (!made || !quiet) fprintf(stderr, "fixture: %s\n", qPrintable(q.lastError().text()));
            q.exec("PRAGMA wal_checkpoint(TRUNCATE)");
        }
        QSqlDatabase::removeDatabase("fixture");
        seconds = static_cast<double>(timer.elapsed()) / 1000.0;
    }
};

Fixture& History() {
    static Fixture fixture;
    return fixture;
}

// 0: everything; 1: a channel search (11 of 400 names, 27,500 hits);
// 2: a search every name matches (all 1,000,000 hits); 3: a rare name (one
// channel, 2,500 hits): the whole generated year (the hits added by
// BM_AddHitTo1M lie after it). 4: the quiet day, no search text.
HistoryFilter Filter(int64_t which) {
    static const char* texts[] = {"", "nel 12", "system", "nel 399"};
    if (which == 4) {
        const QDate day = QDateTime::fromSecsSinceEpoch(kQuietDay, Qt::UTC).date();
        return quorvane::FilterOfDates("", day, day);
    }
    return quorvane::FilterOfDates(texts[which], QDate(2023, 1, 1), QDate(2024, 11, 30));
}

void BM_AddHitTo1M(benchmark::State& state) {
    Fixture& history = History();
    const quorvane::HistoryRun run{{kFirstStart * 1000, 0}, "11-14-2023", "10-13-20-PM"};
    std::vector<double> ms;
    std::int64_t key = 1;
    for (auto _ : state) {
        quorvane::HistoryHit hit;
        hit.Names = {"County", "Fire", "Dispatch " + std::to_string(key % 50), " 154.4300", "01544300", ""};
        hit.Start = {(kFirstStart + 400LL * 86400) * 1000 + key * 30000, 0};
        hit.End = {hit.Start.EpochMs + 12000, 0};
        hit.LineKey = -key++;
        QElapsedTimer timer;
        timer.start();
        if (history.store.Add(run, hit) != HistoryStore::Added::Yes) state.SkipWithError("not added");
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[ms.size() * 99 / 100];
    state.counters["max_ms"] = ms.back();
}
BENCHMARK(BM_AddHitTo1M)->Unit(benchmark::kMillisecond)->Iterations(500);

void BM_SearchWithChart(benchmark::State& state) {
    Fixture& history = History();
    const HistoryFilter filter = Filter(state.range(0));
    qint64 hits = 0;
    for (auto _ : state) {
        const std::array<qint64, 24> hours = history.store.HourCounts(filter);
        benchmark::DoNotOptimize(history.store.BusiestChannels(filter, 10));
        hits = 0;
        for (const qint64 count : hours) hits += count;
    }
    state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_SearchWithChart)->Unit(benchmark::kMillisecond)->DenseRange(0, 3)->Iterations(10);

// What the table needs before it shows anything: its first page of rows, as
// the History tab's search reads it.
void BM_TableFirstRows(benchmark::State& state) {
    Fixture& history = History();
    const HistoryFilter filter = Filter(state.range(0));
    const std::array<qint64, 24> hours = history.store.HourCounts(filter);
    const qint64 matches = std::accumulate(hours.begin(), hours.end(), qint64{0});
    for (auto _ : state) {
        const std::vector<quorvane::HistoryRow> rows = history.store.Rows(filter, matches, std::nullopt, 256);
        if (rows.empty()) state.SkipWithError("no rows");
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["hits"] = static_cast<double>(matches);
}
BENCHMARK(BM_TableFirstRows)->Unit(benchmark::kMillisecond)->DenseRange(0, 4)->Iterations(10);

// The CSV export of a channel search (27,500 hits), a page at a time.
void BM_ExportChannel(benchmark::State& state) {
    Fixture& history = History();
    const HistoryFilter filter = Filter(1);
    for (auto _ : state) {
        std::string csv;
        std::optional<quorvane::RowKey> after;
        while (history.store.ExportPage(filter, after, 5000, csv) == 5000) {}
        benchmark::DoNotOptimize(csv.data());
    }
}
BENCHMARK(BM_ExportChannel)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FileSizePer1MHits(benchmark::State& state) {
    Fixture& history = History();
    for (auto _ : state) benchmark::DoNotOptimize(QFileInfo(history.store.Path()).size());
    const QString path = history.store.Path();
    state.counters["file_MB"] = static_cast<double>(QFileInfo(path).size() + QFileInfo(path + "-wal").size()) / 1e6;
    state.counters["generate_s"] = history.seconds;
}
BENCHMARK(BM_FileSizePer1MHits)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    return quorvane::bench::RunBenchmarks<QCoreApplication>(argc, argv);
}
