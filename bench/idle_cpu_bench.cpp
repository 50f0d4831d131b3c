// CPU of the whole program while it polls an idle scanner every 100 ms, in
// its real window on a private X server (Xvfb), side by side with an older
// build of Quorvane on the same simulator in the same run:
//   idle_cpu_bench [--reference=PATH] [--seconds=N] [--rounds=N] [benchmark flags]
// --reference names the older program (bench/idle-vs-768b92c builds commit
// 768b92c's and passes it). Beside them runs idle_floor, a bare window that
// only polls: the least any 10 Hz poll in a Qt window costs on this machine.
// The programs take turns, round by round, so a busy moment of the machine
// falls on all alike. CPU is read from /proc/PID/task/*/schedstat (every
// thread, nanoseconds).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ProgramCpu.h"

namespace {

using quorvane::bench::CpuNs;
using quorvane::bench::WriteText;

struct Options {
    QString program = QUORVANE_PROGRAM;
    QString simulator = QUORVANE_SIMULATOR;
    QString reference;
    QString floor = QUORVANE_FLOOR;
    int seconds = 20;
    int rounds = 3;
};
Options options;

// A still display ("Scanning..." and nothing else), and a scanner stepping
// through three channels every 300 ms, as a real one does while it scans.
const char* const kQuiet =
    "once\n"
    "step 1000 idle line1=\"  Scanning...   \" icons1=100000000000000\n";
const char* const kScanning =
    "loop\n"
    "step 300 idle line1=\"County Fire\" line2=\" Fire \\x82 EMS\" icons1=110000000000000\n"
    "step 300 idle line1=\"Metro Trunk\" line2=\"Police \\x82 Fire\" icons1=110000000000000\n"
    "step 300 idle line1=\"Airport\" line2=\"Tower \\x82 Ground\" icons1=110000000000000\n";

// A private X server with a free display number, for as long as it lives.
class PrivateDisplay {
public:
    PrivateDisplay() {
        // -displayfd writes the display number it chose to the given descriptor.
        server_.setProgram("Xvfb");
        server_.setArguments({"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
        server_.start();
        if (!server_.waitForStarted(5000)) return;
        for (int i = 0; i < 100 && !server_.canReadLine(); ++i) server_.waitForReadyRead(100);
        const QByteArray number = server_.readLine().trimmed();
        if (!number.isEmpty()) name_ = ":" + QString::fromLatin1(number);
    }
    ~PrivateDisplay() {
        server_.terminate();
        server_.waitForFinished(3000);
    }
    const QString& Name() const { return name_; }

private:
    QProcess server_;
    QString name_;
};

// The percentage of one core program uses over options.seconds of idle
// polling on the scenario; nullopt with the reason in why when it cannot run.
std::optional<double> MeasureIdle(const QString& program, const QString& display, const char* scenario,
                                  std::string& why) {
    QTemporaryDir folder;
    const QString dir = folder.path();
    // Port 1 at 57600 baud, polled every 100 ms; the Log tab in front, nothing recorded.
    if (!WriteText(dir + "/scenario.txt", scenario) ||
        !WriteText(dir + "/com_settings.txt", "0\r\n3\r\n100\r\n") ||
        !WriteText(dir + "/pgm_settings.txt", "0\r\n0\r\n0\r\n0\r\n37\r\n37\r\n1\r\n0\r\n0\r\n\"\"\r\n4\r\n")) {
        why = "cannot write the app folder";
        return std::nullopt;
    }
    QProcess sim;
    sim.start(options.simulator, {"--scenario", dir + "/scenario.txt", "--link", dir + "/com1", "--baud", "57600"});
    for (int i = 0; i < 50 && !QFileInfo(dir + "/com1").isSymLink(); ++i) QThread::msleep(100);
    if (!QFileInfo(dir + "/com1").isSymLink()) {
        why = "the simulator did not start: " + options.simulator.toStdString();
        return std::nullopt;
    }
    QProcess app;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    env.insert("QT_QPA_PLATFORM", "xcb");
    app.setProcessEnvironment(env);
    app.setStandardOutputFile(QProcess::nullDevice());
    app.setStandardErrorFile(QProcess::nullDevice());
    app.start(program, {"--app-dir", dir});
    std::optional<double> percent;
    if (app.waitForStarted(5000)) {
        QThread::sleep(4);  // start-up and the first polls
        const auto before = CpuNs(app.processId());
        QThread::sleep(options.seconds);
        const auto after = CpuNs(app.processId());
        if (before && after && app.state() == QProcess::Running) {
            percent = 100.0 * double(*after - *before) / 1e9 / options.seconds;
        } else {
            why = "the program ended while measured: " + program.toStdString();
        }
    } else {
        why = "cannot start " + program.toStdString();
    }
    app.terminate();
    app.waitForFinished(5000);
    sim.terminate();
    sim.waitForFinished(5000);
    return percent;
}

void IdleCpu(benchmark::State& state, const char* scenario) {
    PrivateDisplay display;
    if (display.Name().isEmpty()) {
        state.SkipWithError("Xvfb did not start (Debian package xvfb)");
        return;
    }
    // This program, the reference when there is one, and the floor.
    std::vector<std::pair<const char*, QString>> programs{{"cpu_pct", options.program}};
    if (!options.reference.isEmpty()) programs.emplace_back("reference_cpu_pct", options.reference);
    programs.emplace_back("floor_cpu_pct", options.floor);
    std::vector<std::vector<double>> figures(programs.size());
    std::string why;
    for (auto _ : state) {
        for (int round = 0; round < options.rounds; ++round) {
            for (std::size_t p = 0; p < programs.size(); ++p) {
                const auto cpu = MeasureIdle(programs[p].second, display.Name(), scenario, why);
                if (!cpu) {
                    state.SkipWithError(why.c_str());
                    return;
                }
                figures[p].push_back(*cpu);
            }
        }
    }
    auto mean = [](const std::vector<double>& values) {
        double sum = 0;
        for (double v : values) sum += v;
        return sum / double(values.size());
    };
    for (std::size_t p = 0; p < programs.size(); ++p) {
        state.counters[programs[p].first] = mean(figures[p]);
        std::printf("  %s:", programs[p].first);
        for (double figure : figures[p]) std::printf(" %.3f", figure);
        std::printf("\n");
    }
    if (!options.reference.isEmpty()) state.counters["ratio"] = mean(figures[0]) / mean(figures[1]);
}

}  // namespace

BENCHMARK_CAPTURE(IdleCpu, still_display, kQuiet)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(IdleCpu, scanning_display, kScanning)->Iterations(1)->Unit(benchmark::kSecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return quorvane::bench::RunTimedBenchmarks(argc, argv, options.seconds, options.rounds, [](const QString& arg) {
        if (!arg.startsWith("--reference=")) return false;
        options.reference = arg.mid(12);
        return true;
    });
}
