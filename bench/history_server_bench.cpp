// The history shared on a PostgreSQL server, against a real local server
// started for the run (fsync on, as a station's server would have it):
// adding a hit on the sender's thread and on the window's, a search with its
// chart over 1,000,000 hits from 5 stations, and 10,000 hits kept while the
// server was away sent when it is back.
#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <numeric>
#include <vector>

#include "history/qt/HistoryRecorder.h"
#include "history/qt/HistorySearch.h"
#include "history/qt/HistorySender.h"
#include "history/qt/ServerStore.h"
#include "history/qt/TestPostgres.h"

namespace {

using namespace quorvane;

constexpr int kHits = 1000000;
constexpr int kStations = 5;
constexpr int kNames = 400;
constexpr qint64 kFirstStart = 1700000000;  // a hit every 30 s from Nov 2023 on: about a year

struct Server {
    test::TestPostgres pg{true};
    HistoryServerSettings settings;
    double generateSeconds = 0;

    Server() {
        if (!pg.Ready()) {
            std::fprintf(stderr, "PostgreSQL cannot be run here: %s\n", qPrintable(pg.Error()));
            return;
        }
        pg.MakeDatabase("club", "club", "club-pw");
        settings = {pg.Url("club", "club-pw", "club").toStdString(), "Bench"};
        ServerStore maker(settings);  // makes the tables
        maker.Connect(nullptr, nullptr);
        maker.Disconnect();
        QElapsedTimer timer;
        timer.start();
        // The counts are added up once at the end rather than hit by hit.
        const QVariant made = pg.Exec(
            {"ALTER TABLE hits DISABLE TRIGGER hits_counted",
             QString("INSERT INTO runs (id, station, started_local, started_utc, launch_date, launch_time) "
                     "SELECT s, 'Station ' || s, '2023-11-14T22:13:20+00:00', '2023-11-14T22:13:20Z', '11-14-2023', "
                     "'10-13-20-PM' FROM generate_series(1, %1) s")
                 .arg(kStations),
             QString("INSERT INTO names (id, system, grp, channel, frequency, frequency_digits, code_or_id) "
                     "SELECT i + 1, 'System ' || (i % 7), 'Group ' || (i % 23), 'Channel ' || i, "
                     "format(' %s.%s', 150 + i % 300, lpad((i * 7 % 10000)::text, 4, '0')), "
                     "lpad((150 + i % 300)::text, 4, '0') || lpad((i * 7 % 10000)::text, 4, '0'), "
                     "CASE WHEN i % 3 = 0 THEN '' ELSE (i * 37 % 9000)::text END FROM generate_series(0, %1) i")
                 .arg(kNames - 1),
             QString("INSERT INTO hits (run_id, name_id, station, start_local, start_utc, end_local, end_utc, "
                     "duration_s, recording, start_ms, start_hour, start_day, line_key, occurrence, signal_peak, "
                     "signal_average) SELECT i % %4 + 1, (i::bigint * 7919) % %2 + 1, 'Station ' || (i % %4 + 1), "
                     "to_char(to_timestamp(%3 + i * 30) AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS\"+00:00\"'), "
                     "to_char(to_timestamp(%3 + i * 30) AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS\"Z\"'), "
                     "to_char(to_timestamp(%3 + i * 30 + 12) AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS\"+00:00\"'), "
                     "to_char(to_timestamp(%3 + i * 30 + 12) AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS\"Z\"'), "
                     "12.0, NULL, (%3 + i * 30)::bigint * 1000, ((%3 + i * 30) / 3600) % 24, (%3 + i * 30) / 86400, "
                     "i, 1, i % 256, i % 200 FROM generate_series(0, %1) i")
                 .arg(kHits - 1)
                 .arg(kNames)
                 .arg(kFirstStart)
                 .arg(kStations),
             "INSERT INTO hour_counts SELECT start_day, start_hour, station, count(*) FROM hits GROUP BY 1, 2, 3",
             "INSERT INTO name_counts SELECT name_id, start_day, station, count(*) FROM hits GROUP BY 1, 2, 3",
             "ALTER TABLE hits ENABLE TRIGGER hits_counted",
             "SELECT setval('runs_id_seq', 100), setval('names_id_seq', 1000), setval('hits_id_seq', 2000000)",
             "VACUUM ANALYZE", "SELECT count(*) FROM hits"},
            "club");
        if (made.toLongLong() != kHits) std::fprintf(stderr, "fixture: %s\n", qPrintable(pg.LastError()));
        generateSeconds = static_cast<double>(timer.elapsed()) / 1000.0;
    }
};

Server& TheServer() {
    static Server server;
    return server;
}

// A hit as the local history hands it to the sender.
QueuedHit Queued(qint64 n, const QString& launchTime) {
    QueuedHit hit;
    hit.LocalId = n;
    hit.RunStartedLocal = "2024-12-01T10:00:00+01:00";
    hit.RunStartedUtc = "2024-12-01T09:00:00Z";
    hit.LaunchDate = "12-01-2024";
    hit.LaunchTime = launchTime;
    hit.Names = {"County", "Fire", QString("Dispatch %1").arg(n % 50), " 154.4300", "01544300", ""};
    hit.StartLocal = hit.EndLocal = "2024-12-01T10:00:00+01:00";
    hit.StartUtc = hit.EndUtc = "2024-12-01T09:00:00Z";
    hit.DurationSeconds = 4.2;
    hit.Recording = QVariant(QMetaType::fromType<QString>());
    hit.StartMs = (kFirstStart + 400LL * 86400) * 1000 + n * 1000;
    hit.StartHour = 10;
    hit.StartDay = kFirstStart / 86400 + 400;
    hit.LineKey = n;
    hit.Occurrence = 1;
    hit.SignalPeak = 180;
    hit.SignalAverage = 120;
    return hit;
}

void Percentiles(benchmark::State& state, std::vector<double>& ms) {
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[ms.size() * 99 / 100];
    state.counters["max_ms"] = ms.back();
}

// One hit in its own transaction, as the sender sends a hit that has just
// ended (the server already holds 1,000,000).
void BM_ServerAddHit(benchmark::State& state) {
    Server& server = TheServer();
    if (!server.pg.Ready()) return state.SkipWithError("no PostgreSQL");
    ServerStore store(server.settings);
    store.Connect(nullptr, nullptr);
    std::vector<double> ms;
    qint64 n = 0;
    for (auto _ : state) {
        const std::vector<QueuedHit> one = {Queued(++n, "10-00-00-AM")};
        QElapsedTimer timer;
        timer.start();
        QString detail;
        if (store.Send(one, nullptr, &detail) != 1) {
            state.SkipWithError(qPrintable("not sent: " + detail));
            break;
        }
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    Percentiles(state, ms);
}
BENCHMARK(BM_ServerAddHit)->Unit(benchmark::kMillisecond)->Iterations(500);

// What the window's thread spends on a hit with a server set: handing it over.
void BM_WindowThreadAddHit(benchmark::State& state) {
    Server& server = TheServer();
    if (!server.pg.Ready()) return state.SkipWithError("no PostgreSQL");
    QTemporaryDir app;
    const std::string file = server.settings.Url + "\r\nWindow\r\n";
    QFile serverFile(QDir(app.path()).filePath("history_server.txt"));
    serverFile.open(QIODevice::WriteOnly);
    serverFile.write(file.data(), static_cast<qint64>(file.size()));
    serverFile.close();
    HistoryRecorder recorder([&] { return app.path(); }, app.path());
    recorder.StartRun(QDateTime::currentDateTime(), "12-02-2024", "9-00-00-AM");
    std::vector<double> ms;
    int n = 0;
    for (auto _ : state) {
        HitEnded ended;
        ended.Names = {"County", "Fire", "Tac 2", " 154.4300", "", "", "9:00:01 AM", "9:00:05 AM"};
        ended.LogLine = "County / Fire\tTac " + std::to_string(++n) + "\t 154.4300\t\t9:00:01 AM\t9:00:05 AM\t12-02-2024\r\n";
        QElapsedTimer timer;
        timer.start();
        recorder.AddHit(ended, "");
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    Percentiles(state, ms);
    recorder.Flush(60000);
}
BENCHMARK(BM_WindowThreadAddHit)->Unit(benchmark::kMicrosecond)->Iterations(200);

// 0: everything; 1: a channel search (11 of 400 names, 27,500 hits); 2: a
// search every name matches; 3: a rare name (2,500 hits); 4: one station;
// 5: one station and a channel search. The whole generated year.
HistoryFilter Filter(int64_t which) {
    static const char* texts[] = {"", "nel 12", "system", "nel 399", "", "nel 12"};
    HistoryFilter filter = FilterOfDates(texts[which], QDate(2023, 1, 1), QDate(2024, 11, 30));
    if (which >= 4) filter.Station = "Station 3";
    return filter;
}

// A search of the History tab on the server: the chart's counts, the busiest
// channels and the table's first page.
void BM_ServerSearchWithChart(benchmark::State& state) {
    Server& server = TheServer();
    if (!server.pg.Ready()) return state.SkipWithError("no PostgreSQL");
    ServerStore store(server.settings);
    store.Connect(nullptr, nullptr);
    const HistoryFilter filter = Filter(state.range(0));
    qint64 hits = 0;
    for (auto _ : state) {
        const std::array<qint64, 24> hours = store.HourCounts(filter);
        hits = std::accumulate(hours.begin(), hours.end(), qint64{0});
        benchmark::DoNotOptimize(store.BusiestChannels(filter, HistorySearch::kBusiestChannels));
        if (store.Rows(filter, hits, std::nullopt, HistorySearch::kPageRows).empty()) state.SkipWithError("no rows");
    }
    state.counters["hits"] = static_cast<double>(hits);
    state.counters["generate_s"] = server.generateSeconds;
}
BENCHMARK(BM_ServerSearchWithChart)->Unit(benchmark::kMillisecond)->DenseRange(0, 5)->Iterations(5);

// 10,000 hits recorded while the server was away, sent when it is back.
void BM_SendBacklog10k(benchmark::State& state) {
    Server& server = TheServer();
    if (!server.pg.Ready()) return state.SkipWithError("no PostgreSQL");
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath("history.sqlite");
        {
            HistoryStore local;
            local.Open(path);
            const HistoryRun run{{(kFirstStart + 401LL * 86400) * 1000, 0}, "12-02-2024", QString("%1-00-00-PM").arg(++round).toStdString()};
            local.BeginBatch();
            for (int i = 0; i < 10000; ++i) {
                HistoryHit hit;
                hit.Names = {"County", "Fire", "Tac " + std::to_string(i % 40), " 154.4300", "01544300", ""};
                hit.Start = {run.StartedAt.EpochMs + i * 5000LL, 0};
                hit.End = {hit.Start.EpochMs + 3000, 0};
                hit.LineKey = i;
                local.Add(run, hit, true);
            }
            local.CommitBatch();
        }
        HistorySender sender(server.settings);
        state.ResumeTiming();
        bool reached = false;
        const qint64 sent = sender.SendAll(path, &reached);
        if (sent != 10000 || !reached) state.SkipWithError("not all sent");
    }
}
BENCHMARK(BM_SendBacklog10k)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    return quorvane::bench::RunBenchmarks<QApplication>(argc, argv);
}
