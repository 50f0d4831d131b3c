// A whole backup and a whole restore of a memory of 5 systems, 50 groups
// and 1000 channels on the simulator, whose replies leave byte by byte at
// 57600 baud, run as the window and the command line run them (MemoryRunner
// on the scanner's link). Reports the run time against the wire time of the
// run's own commands and replies (their bytes both ways, CR included, at 10
// bits a byte), and the commands per second. The simulator answers "CLR" at
// once here; the real scanner takes about 10 s more for it. The backup reads
// the scanner's settings, quick keys and lockouts too, and the restores write
// them back.
//   Backup          the whole memory and every setting
//   BackupOverrun   the same with every 50th record read answered "ORER"
//   Restore         erasing first ("CLR", then every record and setting)
//   RestoreChanges  the default restore over the same memory with every
//                   channel renamed: one set per channel, no "CLR"
//   memory_bench --benchmark_filter=Backup    only the backups
#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "BenchMain.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <filesystem>

#include "Respond.h"
#include "ScenarioParser.h"
#include "Simulator.h"
#include "link/qt/LinkRunner.h"
#include "link/qt/ScannerLink.h"
#include "memory/MemoryReader.h"
#include "memory/PlanRunner.h"
#include "memory/WritePlan.h"
#include "memory/qt/MemoryRunner.h"

namespace {

using namespace quorvane;

using quorvane::bench::kChannelsPerGroup;
using quorvane::bench::kGroupsPerSystem;
using quorvane::bench::kSystems;
constexpr int kBaud = 57600;
constexpr double kBitsPerByte = 10.0;


Scenario Parsed() {
    std::string error;
    return ParseScenario(quorvane::bench::ThousandChannelScenario(), &error);
}

// The seconds the commands and their replies take on the line: the replies
// are those of a radio with the same memory given the same commands.
double WireSeconds(const std::vector<std::string>& commands) {
    RadioState radio(Parsed());
    double bytes = 0;
    for (const std::string& command : commands) bytes += command.size() + 1 + Respond(radio, command, 0).size() + 1;
    return bytes * kBitsPerByte / kBaud;
}

// The memory of the scenario as a backup reads it (in-process, no line).
ScannerMemory ReadInProcess() {
    RadioState radio(Parsed());
    MemoryReader reader;
    MemoryStep step = reader.Start();
    while (step.outcome == MemoryOutcome::Send || step.outcome == MemoryOutcome::Wait)
        step = reader.OnReplyLine(Respond(radio, step.command, 0));
    return WithoutIndexes(reader.Result());
}

enum class Mode { Backup, BackupOverrun, Restore, RestoreChanges };

// Every channel renamed: the file of a restore that changes each one.
ScannerMemory Renamed(ScannerMemory memory) {
    for (System& system : memory.systems)
        for (Group& group : system.groups)
            for (Channel& channel : group.channels) channel.fields[channel_field::Name] += "*";
    return memory;
}

void Run(benchmark::State& state, Mode mode) {
    const bool restore = mode == Mode::Restore || mode == Mode::RestoreChanges;
    const ScannerMemory memory = restore ? ReadInProcess() : ScannerMemory{};
    for (auto _ : state) {
        QTemporaryDir folder;
        SimulatorOptions line;
        line.baud = kBaud;
        line.clear_ms = 0;
        if (mode == Mode::BackupOverrun) line.orer_every = 50;
        Simulator radio(Parsed(), line);
        std::filesystem::create_symlink(radio.SlavePath(), (folder.path() + "/com1").toStdString());
        radio.Start();
        ScannerLink link;
        LinkRunner linkRunner(link, folder.path());
        linkRunner.Run(1, kBaud);
        MemoryRunner runner(link);
        std::unique_ptr<MemoryEngine> engine;
        if (mode == Mode::Restore) {
            engine = std::make_unique<PlanRunner>(PlanRestore(memory));
        } else if (mode == Mode::RestoreChanges) {
            // What the restore read before it: the radio's memory as it is.
            RadioState held(Parsed());
            MemoryReader before;
            MemoryStep step = before.Start();
            while (step.outcome == MemoryOutcome::Send || step.outcome == MemoryOutcome::Wait)
                step = before.OnReplyLine(Respond(held, step.command, 0));
            engine = std::make_unique<PlanRunner>(PlanWrite(before.Result(), Renamed(memory)));
        } else {
            engine = std::make_unique<MemoryReader>();
        }

        MemoryStep end;
        QEventLoop loop;
        QObject::connect(&runner, &MemoryRunner::Ended, [&](const MemoryStep& step) {
            end = step;
            loop.quit();
        });
        QElapsedTimer clock;
        clock.start();
        runner.Start(*engine);
        loop.exec();
        const double seconds = clock.elapsed() / 1000.0;

        // The run's commands: all the radio got, "EPG" after the end left out.
        std::vector<std::string> commands = radio.ReceivedCommands();
        if (!commands.empty() && commands.back() == "EPG") commands.pop_back();
        const double wire = WireSeconds(commands);
        state.SetIterationTime(seconds);
        state.counters["finished"] = end.outcome == MemoryOutcome::Finished;
        state.counters["actual_s"] = seconds;
        state.counters["wire_s"] = wire;
        state.counters["x_wire"] = seconds / wire;
        state.counters["within_1_5x"] = seconds <= 1.5 * wire;
        state.counters["commands"] = static_cast<double>(commands.size());
        state.counters["commands_per_s"] = static_cast<double>(commands.size()) / seconds;
        state.counters["records"] = static_cast<double>(end.progress.recordsDone);
        if (end.outcome != MemoryOutcome::Finished) state.SkipWithError(end.message.c_str());
    }
}

void Backup(benchmark::State& state) { Run(state, Mode::Backup); }
void BackupOverrun(benchmark::State& state) { Run(state, Mode::BackupOverrun); }
void Restore(benchmark::State& state) { Run(state, Mode::Restore); }
void RestoreChanges(benchmark::State& state) { Run(state, Mode::RestoreChanges); }

BENCHMARK(Backup)->Name("BM_MemoryThousandChannels/Backup")->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BackupOverrun)
    ->Name("BM_MemoryThousandChannels/BackupOverrun")
    ->UseManualTime()
    ->Unit(benchmark::kSecond)
    ->Iterations(1);
BENCHMARK(Restore)->Name("BM_MemoryThousandChannels/Restore")->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(RestoreChanges)
    ->Name("BM_MemoryThousandChannels/RestoreChanges")
    ->UseManualTime()
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return quorvane::bench::RunBenchmarks<QCoreApplication>(argc, argv); }
