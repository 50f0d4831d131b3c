// The end of a hit against a full hit-intelligence table, and putting the
// hit's line into a long log and its row on top of the grid's rows.
#include <benchmark/benchmark.h>

#include <string>

#include "monitor/EndHit.h"
#include "monitor/LogGrid.h"
#include "monitor/LogText.h"

namespace {

using namespace quorvane;

std::string EightDigits(size_t n) {
    std::string digits = std::to_string(1000000 + n * 125);
    return std::string(8 - digits.size(), '0') + digits;
}

// 6001 entries; the hit's frequency appears three times under channels that do
// not match, so the first walk finds nothing and the second supplies the group.
HitIntelTable FullTable() {
    HitIntelTable table;
    for (size_t i = 0; i < HitIntelTable::kEntryCount; ++i) {
        const bool hitFrequency = i == 10 || i == 3000 || i == 5990;
        table.SetEntry(i, (hitFrequency ? std::string("01544300") : EightDigits(i)) +
                              "\tChannel " + std::to_string(i) + "\tGroup " +
                              std::to_string(i % 50) + "\tSystem " + std::to_string(i % 5));
    }
    return table;
}

void BM_EndHitBothLookups(benchmark::State& state) {
    const HitIntelTable table = FullTable();
    HitRecord start;
    start.HitActive = true;
    start.SystemText = "County          ";
    start.ChannelText = "Dispatch 1      ";
    start.FreqShown = " 154.4300";
    start.StartTime = "2:51:13 PM";
    TickValues values;
    values.RawFrequency = "01544300";
    const HitEndContext context{table, "SYS 1234567890", false, "2:51:40 PM", "12-04-2026"};
    for (auto _ : state) {
        HitRecord hit = start;
        HitEnded ended = EndHit(hit, values, context);
        benchmark::DoNotOptimize(ended);
    }
    HitRecord hit = start;
    if (EndHit(hit, values, context).Names.GroupText != "Group 40") state.SkipWithError("lookup");
}
BENCHMARK(BM_EndHitBothLookups)->Unit(benchmark::kMicrosecond);

LogText LongLog(size_t lines) {
    LogText log;
    for (size_t i = 0; i < lines; ++i) {
        log.Prepend("County North / Fire Dispatch\tDispatch " + std::to_string(i) +
                    "\t 154.4300\t 023\t2:51:13 PM\t2:51:40 PM\t12-04-2026\r\n");
    }
    return log;
}

// Prepend the new line to a 1500-line log, make the file bytes and put its
// row on top of the grid's rows (the oldest leaves), with the log and the
// rows kept between hits as the window keeps them.
void BM_LogHitInto1500LineLog(benchmark::State& state) {
    const LogText base = LongLog(1500);
    LogGridRows baseRows;
    for (auto row = base.Rows().rbegin(); row != base.Rows().rend(); ++row) baseRows.Add(*row, {});
    const std::string line =
        "Metro Trunk / Police\tNorth Ops\t 851.0125\t12345\t3:01:02 PM\t3:01:09 PM\t12-04-2026\r\n";
    for (auto _ : state) {
        state.PauseTiming();
        LogText log = base;
        LogGridRows rows = baseRows;
        state.ResumeTiming();
        rows.Add(log.Prepend(line), {});
        std::string file = log.FileContent();
        benchmark::DoNotOptimize(file);
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_LogHitInto1500LineLog)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
