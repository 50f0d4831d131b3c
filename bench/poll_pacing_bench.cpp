// Idle polling of the real window on the simulator with replies leaving byte
// by byte at each "Port Speed": how often the display is updated (accepted
// ticks) and how closely the requests follow the replies. The display line
// changes every 5 ms, so every accepted tick shows a new text.
#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>

#include "ScenarioParser.h"
#include "Simulator.h"
#include "window/Form1.h"

namespace {

constexpr int kSpeeds[] = {9600, 19200, 38400, 57600};  // the "Port Speed" list, in order
constexpr int kRunMs = 10000;

void BM_IdlePolling(benchmark::State& state) {
    const int speedIndex = static_cast<int>(state.range(0));
    const int baud = kSpeeds[speedIndex];
    for (auto _ : state) {
        QTemporaryDir folder;
        std::string error;
        quorvane::SimulatorOptions options;
        options.baud = baud;
        quorvane::Simulator radio(
            quorvane::ParseScenario("once\nstep 1000 idle line1=\"  Scanning...   \"\n", &error), options);
        std::filesystem::create_symlink(radio.SlavePath(), (folder.path() + "/com1").toStdString());
        radio.Start();
        QFile com(folder.path() + "/com_settings.txt");
        com.open(QIODevice::WriteOnly);
        com.write(("0\r\n" + std::to_string(speedIndex) + "\r\n100\r\n").c_str());
        com.close();
        quorvane::Form1 form(folder.path());

        int shown = 0;
        QString last;
        auto* text1 = form.findChild<QPlainTextEdit*>("Text1");
        QObject::connect(text1, &QPlainTextEdit::textChanged, [&] {
            if (text1->toPlainText() != last) ++shown;
            last = text1->toPlainText();
        });
        int step = 0;
        QTimer changer;
        changer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&changer, &QTimer::timeout, [&] {
            quorvane::RadioView view;
            view.line1 = quorvane::PadLine("Step " + std::to_string(++step));
            view.icons1 = "100000000000000";
            radio.SetOverride(view);
        });
        changer.start(5);
        // Waiting runs a real event loop, so the poll timer keeps its pace.
        QEventLoop loop;
        QTimer::singleShot(kRunMs, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        QElapsedTimer run;
        run.start();
        loop.exec();
        const double seconds = run.elapsed() / 1000.0;
        changer.stop();
        const auto commands = radio.ReceivedCommands();
        state.SetIterationTime(seconds);
        state.counters["baud"] = baud;
        state.counters["accepted_ticks_per_s"] = shown / seconds;
        state.counters["ms_per_accepted_tick"] = shown ? 1000.0 * seconds / shown : 0.0;
        state.counters["commands"] = static_cast<double>(commands.size());
        state.counters["replies"] = static_cast<double>(radio.RepliesWritten());
    }
}
BENCHMARK(BM_IdlePolling)->DenseRange(0, 3)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    return quorvane::bench::RunBenchmarks(argc, argv);
}
