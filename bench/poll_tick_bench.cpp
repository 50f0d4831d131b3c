// One accepted poll tick: split the three replies, parse them, follow the hit
// and build the display texts and icon rows.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchReplies.h"
#include "monitor/PollCycle.h"

namespace {

using namespace quorvane;
using bench::FixedClock;
using bench::ThreeReplies;

void BM_PollTickIdle(benchmark::State& state) {
    HitIntelTable table;
    SkipList skips;
    FixedClock clock;
    PollCycle cycle(table, skips, clock, "12-04-2026");
    const std::string input = ThreeReplies("1");
    for (auto _ : state) benchmark::DoNotOptimize(cycle.Tick(input, false));
}
BENCHMARK(BM_PollTickIdle);

// A tick in the middle of a hit with a full, non-matching skip list: the
// longest walk an ordinary tick makes.
void BM_PollTickActiveFullSkipList(benchmark::State& state) {
    HitIntelTable table;
    SkipList skips;
    for (size_t i = 0; i < SkipList::kEntryCount; ++i) skips.SetEntry(i, std::to_string(40000000 + i));
    FixedClock clock;
    PollCycle cycle(table, skips, clock, "12-04-2026");
    const std::string input = ThreeReplies("0");
    cycle.Tick(input, false);
    cycle.Tick(input, false);
    for (auto _ : state) benchmark::DoNotOptimize(cycle.Tick(input, false));
}
BENCHMARK(BM_PollTickActiveFullSkipList);

}  // namespace

BENCHMARK_MAIN();
