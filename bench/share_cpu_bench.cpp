// What the live feed and one call server add to the CPU of the whole program:
// the real program (--headless) on the simulator, a hit every 7 s (4 s of
// transmission) recorded from a real sound input (scripts/test-audio's sine
// wave), once plain and once with the feed on a real local icecast2
// (16 kbit/s mono MP3 at 22050 Hz) and every recording uploaded to a local
// call receiver. The two take turns, round by round; CPU is read from
// /proc/PID/task/*/schedstat (every thread).
//   share_cpu_bench [--seconds=N] [--rounds=N] [benchmark flags]
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "RadioAudio.h"
#include "ShareServices.h"

#include "ProgramCpu.h"

namespace {

using quorvane::bench::CpuNs;
using quorvane::bench::WriteText;

using namespace quorvane;
using namespace quorvane::test;

int seconds = 30;
int rounds = 2;

const char* const kHits =
    "loop\n"
    "step 3000 idle line1=\"  Scanning...   \" icons1=100000000000000\n"
    "step 4000 hit line1=\"County Fire\" line2=\"Dispatch 1\" freq=01544300 level=180 icons1=110000000000000\n";

// Percent of one core the program uses over `seconds`, with the feed and the
// calls when shared; nullopt and why when it cannot run.
std::optional<double> Measure(bool shared, RadioAudio& speaker, Icecast& icecast, CallReceiver& receiver,
                              std::string& why) {
    QTemporaryDir folder;
    const QString dir = folder.path();
    bool written = WriteText(dir + "/scenario.txt", kHits) && WriteText(dir + "/com_settings.txt", "0\r\n3\r\n100\r\n") &&
                   WriteText(dir + "/pgm_settings.txt", "0\r\n1\r\n1\r\n0\r\n37\r\n37\r\n1\r\n0\r\n0\r\n\"\"\r\n4\r\n");
    if (shared) {
        written = written &&
                  WriteText(dir + "/feed.txt", ("url=" + icecast.SourceUrl("/bench.mp3") + "\r\nstart=1\r\n").toUtf8()) &&
                  WriteText(dir + "/calls.txt", ("rdio-scanner " + receiver.Url() + " key 1\r\n").toUtf8());
    }
    if (!written) {
        why = "cannot write the app folder";
        return std::nullopt;
    }
    QProcess sim;
    sim.start(QUORVANE_SIMULATOR, {"--scenario", dir + "/scenario.txt", "--link", dir + "/com1", "--baud", "57600"});
    if (!WaitUntil([&] { return QFileInfo(dir + "/com1").isSymLink(); }, 5000)) {
        why = "the simulator did not start";
        return std::nullopt;
    }
    QProcess app;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PULSE_SERVER", QString::fromStdString(speaker.Server()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    app.setProcessEnvironment(env);
    app.setStandardOutputFile(QProcess::nullDevice());
    app.setStandardErrorFile(QProcess::nullDevice());
    app.start(QUORVANE_PROGRAM, {"--headless", "--app-dir", dir});
    std::optional<double> percent;
    if (app.waitForStarted(5000)) {
        WaitUntil([] { return false; }, 4000);  // start-up, the feed on air
        const auto before = CpuNs(app.processId());
        const int keptBefore = static_cast<int>(receiver.Kept().size());
        WaitUntil([] { return false; }, seconds * 1000);
        const auto after = CpuNs(app.processId());
        if (shared && static_cast<int>(receiver.Kept().size()) == keptBefore) {
            why = "no call arrived while measured";
        } else if (before && after && app.state() == QProcess::Running) {
            percent = 100.0 * double(*after - *before) / 1e9 / seconds;
        } else {
            why = "the program ended while measured";
        }
    } else {
        why = "cannot start the program";
    }
    app.terminate();
    app.waitForFinished(5000);
    sim.terminate();
    sim.waitForFinished(5000);
    return percent;
}

void FeedAndCallsCpu(benchmark::State& state) {
    RadioAudio speaker(QUORVANE_SOURCE_DIR "/scripts/test-audio");
    if (!speaker.Error().empty()) return state.SkipWithError(speaker.Error().c_str());
    speaker.StartTone();
    Icecast icecast;
    if (!icecast.Start()) return state.SkipWithError(icecast.Error().c_str());
    CallReceiver receiver;
    std::vector<double> plain, shared;
    std::string why;
    for (auto _ : state) {
        for (int round = 0; round < rounds; ++round) {
            for (bool share : {false, true}) {
                const auto cpu = Measure(share, speaker, icecast, receiver, why);
                if (!cpu) return state.SkipWithError(why.c_str());
                (share ? shared : plain).push_back(*cpu);
            }
        }
    }
    const auto mean = [](const std::vector<double>& values) {
        double sum = 0;
        for (double v : values) sum += v;
        return sum / double(values.size());
    };
    state.counters["plain_cpu_pct"] = mean(plain);
    state.counters["shared_cpu_pct"] = mean(shared);
    state.counters["added_cpu_pct"] = mean(shared) - mean(plain);
    state.counters["calls_delivered"] = static_cast<double>(receiver.Kept().size());
}

}  // namespace

BENCHMARK(FeedAndCallsCpu)->Iterations(1)->Unit(benchmark::kSecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return quorvane::bench::RunTimedBenchmarks(argc, argv, seconds, rounds);
}
