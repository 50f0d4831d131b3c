// A whole "Update Hit Inteligence" on the simulator: a memory of 5 systems,
// 50 groups and 1000 channels at a delay of 25 ms. Reports the run time
// against (3 + 2 x systems + 2 x groups + channels) x delay, and the largest
// gap between two ticks of a 10 ms timer while it runs (how long the window
// could not answer).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "ScenarioParser.h"
#include "Simulator.h"
#include "ui/Form1.h"

namespace {

constexpr int kSystems = 5, kGroupsPerSystem = 10, kChannelsPerGroup = 20, kDelayMs = 25;

std::string Memory() {
    std::string text = "once\nstep 1000 idle line1=\"  Scanning...   \"\n";
    int channel = 0;
    for (int s = 0; s < kSystems; ++s) {
        text += "system \"System " + std::to_string(s) + "\"\n";
        for (int g = 0; g < kGroupsPerSystem; ++g) {
            text += "group \"Group " + std::to_string(g) + "\"\n";
            for (int c = 0; c < kChannelsPerGroup; ++c, ++channel) {
                char digits[16];
                std::snprintf(digits, sizeof digits, "%04d%04d", 150 + channel / 100, (channel % 100) * 50);
                text += "channel \"Channel " + std::to_string(channel) + "\" " + digits + "\n";
            }
        }
    }
    return text;
}

void BM_HarvestThousandChannels(benchmark::State& state) {
    for (auto _ : state) {
        QTemporaryDir folder;
        std::string error;
        quorvane::Simulator radio(quorvane::ParseScenario(Memory(), &error));
        std::filesystem::create_symlink(radio.SlavePath(), (folder.path() + "/com1").toStdString());
        radio.Start();
        QFile com(folder.path() + "/com_settings.txt");
        com.open(QIODevice::WriteOnly);
        com.write("0\r\n3\r\n100\r\n");
        com.close();
        quorvane::Form1 form(folder.path());
        form.findChild<QComboBox*>("hit_intel_dly")->setCurrentIndex(0);  // 25 ms

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
        const double expected = (3 + 2 * kSystems + 2 * groups + channels) * kDelayMs / 1000.0;
        state.SetIterationTime(seconds);
        state.counters["expected_s"] = expected;
        state.counters["actual_s"] = seconds;
        state.counters["deviation_pct"] = 100.0 * (seconds - expected) / expected;
        state.counters["largest_gap_ms"] = static_cast<double>(largestGap);
        const auto commands = radio.ReceivedCommands();
        const auto prg = std::find(commands.begin(), commands.end(), "PRG");
        state.counters["commands"] = static_cast<double>(commands.end() - prg);
        state.counters["expected_commands"] = 3 + 2 * kSystems + 2 * groups + channels;
        state.counters["channels_written"] = static_cast<double>(form.HitIntel().Entry(channels - 1).empty() ? 0 : channels);
    }
}
BENCHMARK(BM_HarvestThousandChannels)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
