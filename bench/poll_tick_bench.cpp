// One accepted poll tick: split the three replies, parse them, follow the hit
// and build the display texts and icon rows.
#include <benchmark/benchmark.h>

#include <string>

#include "monitor/PollCycle.h"

namespace {

using namespace quorvane;

class FixedClock : public Clock {
public:
    std::string TimeOfDayText() override { return "2:51:13 PM"; }
};

std::string ThreeReplies(const std::string& hitIndicator) {
    return "STS,County          ,________________,Dispatch 1  \x82 CC,________________,"
           "101000000000001,10000000000011000,0,0," + hitIndicator + ",0,0\r"
           "GID,TGID,12345,0,Metro Trunk,Police,North Ops\r"
           "WIN,0,01544300\r";
}

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
