// From the poll tick that sees a hit begin to the first captured sample in
// the recording's file: the tick, the recording rules, opening the default
// sound input and the file, and the first samples moved to disk.
// Needs a sound input: `source scripts/test-audio` gives a sine-wave one.
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <string>
#include <vector>

#include "BenchReplies.h"
#include "monitor/PollCycle.h"
#include "monitor/Recording.h"
#include "monitor/qt/AudioRecorder.h"

namespace {

using namespace quorvane;
using bench::Percentile;
using bench::FixedClock;
using bench::ThreeReplies;


void BM_HitBeginToFirstSampleOnDisk(benchmark::State& state) {
    QTemporaryDir folder;
    DefaultInputRecorder input;
    HitRecording recording(input);
    if (!input.TryInput()) {  // as SetUpAudio does before the link runs
        state.SkipWithError("no sound input: source scripts/test-audio first");
        return;
    }
    HitIntelTable table;
    SkipList skips;
    FixedClock clock;
    PollCycle cycle(table, skips, clock, "12-04-2026");
    const std::string idle = ThreeReplies("1");
    const std::string receiving = ThreeReplies("0");
    const std::string place = folder.path().toStdString();
    std::vector<double> latencies;

    for (auto _ : state) {
        cycle.Tick(idle, true);
        QElapsedTimer sinceTick;
        sinceTick.start();
        for (const TickAction& action : cycle.Tick(receiving, true).Actions) {
            if (std::holds_alternative<StartRecordingAction>(action)) recording.Start(place);
        }
        while (input.FramesWritten() == 0 && sinceTick.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        const double seconds = static_cast<double>(sinceTick.nsecsElapsed()) / 1e9;
        if (input.FramesWritten() == 0) {
            state.SkipWithError("no samples within 5 s");
            break;
        }
        state.SetIterationTime(seconds);
        latencies.push_back(seconds * 1000);
        for (const TickAction& action : cycle.Tick(idle, true).Actions) {
            if (const auto* ended = std::get_if<HitEnded>(&action)) {
                if (ended->StopRecording) recording.Stop(ended->Names, cycle.LaunchDate(), place);
            }
        }
    }
    if (latencies.empty()) return;
    state.counters["median_ms"] = Percentile(latencies, 0.5);
    state.counters["p90_ms"] = Percentile(latencies, 0.9);
    state.counters["max_ms"] = Percentile(latencies, 1.0);
}
BENCHMARK(BM_HitBeginToFirstSampleOnDisk)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

}  // namespace

int main(int argc, char** argv) {
    return quorvane::bench::RunBenchmarks<QCoreApplication>(argc, argv);
}
