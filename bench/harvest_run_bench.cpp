// A whole "Update Hit Inteligence" on the simulator: a memory of 5 systems,
// 50 groups and 1000 channels on a 57600 baud line whose replies leave byte
// by byte, at a fixed delay of 250 ms and at "Auto", in one run. Reports the
// run time (against (3 + 2 x systems + 2 x groups + channels) x delay for the
// fixed delay), the commands per second, whether "Auto" wrote the same
// hit_intel.txt as the fixed delay, and the largest gap between two ticks of
// a 10 ms timer while it runs (how long the window could not answer).
//   harvest_run_bench --benchmark_filter=Auto    only the quick run
#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "BenchMain.h"

#include <QTimer>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <map>

#include "ScenarioParser.h"
#include "Simulator.h"
#include "window/Form1.h"

namespace {

using quorvane::bench::kChannelsPerGroup;
using quorvane::bench::kGroupsPerSystem;
using quorvane::bench::kSystems;
constexpr int kFixedIndex = 4, kFixedDelayMs = 250, kAutoIndex = 16;

// hit_intel.txt of each pace that ran, by delay index.
std::map<int, std::string> filesWritten;


void Harvest(benchmark::State& state) {
    const int delayIndex = static_cast<int>(state.range(0));
    for (auto _ : state) {
        QTemporaryDir folder;
        std::string error;
        quorvane::SimulatorOptions line;
        line.baud = 57600;
        quorvane::Simulator radio(quorvane::ParseScenario(quorvane::bench::ThousandChannelScenario(), &error), line);
        std::filesystem::create_symlink(radio.SlavePath(), (folder.path() + "/com1").toStdString());
        radio.Start();
        QFile com(folder.path() + "/com_settings.txt");
        com.open(QIODevice::WriteOnly);
        com.write("0\r\n3\r\n100\r\n");
        com.close();
        quorvane::Form1 form(folder.path());
        form.findChild<QComboBox*>("hit_intel_dly")->setCurrentIndex(delayIndex);

        qint64 largestGap = 0;
        QElapsedTimer sinceTick;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            largestGap = std::max(largestGap, sinceTick.restart());
        });
        QElapsedTimer run;
        run.start();
        sinceTick.start();
        ticker.start(10);
        QTest::mouseClick(form.findChild<QPushButton*>("hit_intel"), Qt::LeftButton);
        // The walk starts 600 ms after the click; it ends with its message.
        // Waiting runs a real event loop: a wait that sleeps between turns
        // would make every timer of the walk late.
        QEventLoop loop;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (form.findChild<QMessageBox*>("message")) loop.quit();
        });
        watch.start(5);
        loop.exec();
        // The walk's first command, PRG, leaves 600 ms after the click.
        const double seconds = (run.elapsed() - 600) / 1000.0;
        ticker.stop();
        const int groups = kSystems * kGroupsPerSystem;
        const int channels = groups * kChannelsPerGroup;
        const int expectedCommands = 3 + 2 * kSystems + 2 * groups + channels;
        const auto commands = radio.ReceivedCommands();
        const auto prg = std::find(commands.begin(), commands.end(), "PRG");
        QFile written(folder.path() + "/hit_intel.txt");
        written.open(QIODevice::ReadOnly);
        const QByteArray file = written.readAll();
        filesWritten[delayIndex] = file.toStdString();

        state.SetIterationTime(seconds);
        state.counters["actual_s"] = seconds;
        if (delayIndex == kFixedIndex) state.counters["expected_s"] = expectedCommands * kFixedDelayMs / 1000.0;
        state.counters["commands"] = static_cast<double>(commands.end() - prg);
        state.counters["expected_commands"] = expectedCommands;
        state.counters["commands_per_s"] = static_cast<double>(commands.end() - prg) / seconds;
        state.counters["lines_written"] = static_cast<double>(file.count('\n'));
        state.counters["largest_gap_ms"] = static_cast<double>(largestGap);
        if (filesWritten.count(kFixedIndex) && filesWritten.count(kAutoIndex)) {
            state.counters["same_file_as_fixed"] = filesWritten[kFixedIndex] == filesWritten[kAutoIndex];
        }
    }
}
BENCHMARK(Harvest)->Name("BM_HarvestThousandChannels/Fixed250ms")->Arg(kFixedIndex)->UseManualTime()
    ->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(Harvest)->Name("BM_HarvestThousandChannels/Auto")->Arg(kAutoIndex)->UseManualTime()
    ->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    return quorvane::bench::RunBenchmarks(argc, argv);
}
