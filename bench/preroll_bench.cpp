// How much of the start of a transmission's sound the recording misses. The
// sound input is the radio's audio (RadioAudio: a private sound server whose
// input is silent until a rising 440 Hz tone starts); the tone and the open
// squelch of the simulated radio begin at the same moment, 20 times. For each
// recording: the milliseconds of the tone's beginning missing from it (goal
// 0), the audio before the tone (expected about 50-150 ms), and how long after
// the squelch opened the window saw the hit.
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "BenchSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <sndfile.h>

#include "RadioAudio.h"
#include "ScenarioParser.h"
#include "Simulator.h"
#include "window/Form1.h"

namespace {

using namespace quorvane;
using bench::Percentile;
using bench::WaitFor;

constexpr int kHits = 20;

RadioAudio& Speaker() {
    static RadioAudio audio(QUORVANE_SOURCE_DIR "/scripts/test-audio");
    return audio;
}



RadioView Quiet() {
    RadioView view;
    view.line1 = PadLine("  Scanning...");
    view.icons1 = "100000000000000";
    return view;
}

void BM_RecordingMissesNoneOfTheToneStart(benchmark::State& state) {
    if (!Speaker().Error().empty()) {
        state.SkipWithError(Speaker().Error().c_str());
        return;
    }
    std::vector<double> missing, extra, seen;
    for (auto _ : state) {
        QTemporaryDir folder;
        std::string error;
        Simulator radio(ParseScenario("once\nstep 1000 idle line1=\"  Scanning...   \"\n", &error));
        std::filesystem::create_symlink(radio.SlavePath(), (folder.path() + "/com1").toStdString());
        radio.Start();
        radio.SetOverride(Quiet());
        const auto write = [&](const char* name, const char* bytes) {
            QFile file(folder.path() + "/" + name);
            file.open(QIODevice::WriteOnly);
            file.write(bytes);
        };
        write("com_settings.txt", "0\r\n3\r\n100\r\n");
        write("pgm_settings.txt", "0\r\n1\r\n0\r\n0\r\n37\r\n37\r\n1\r\n0\r\n0\r\n\"\"\r\n4\r\n");  // Record Audio
        Form1 form(folder.path());
        const auto indicator = [&] { return form.findChild<QLineEdit*>("Text3")->text(); };
        WaitFor([&] { return indicator() == "Waiting"; }, 5000);
        WaitFor([] { return false; }, 1000);

        RadioView hit = Quiet();
        hit.line1 = PadLine("County Fire");
        hit.line2 = PadLine("Dispatch 1");
        hit.frequency = "01544300";
        hit.icons1 = "110000000000000";
        for (int h = 0; h < kHits; ++h) {
            hit.receiving = true;
            QElapsedTimer sinceOpen;
            Speaker().StartTone();
            radio.SetOverride(hit);
            sinceOpen.start();
            if (!WaitFor([&] { return indicator() != "Waiting"; }, 3000)) break;
            seen.push_back(static_cast<double>(sinceOpen.nsecsElapsed()) / 1e6);
            WaitFor([] { return false; }, 800);
            hit.receiving = false;
            radio.SetOverride(hit);
            Speaker().Silence();
            const auto waves = [&] { return QDir(folder.path()).entryList({"*.wav"}, QDir::Files); };
            if (!WaitFor([&] { return indicator() == "Waiting" && !waves().isEmpty(); }, 5000)) break;
            const QString wave = folder.path() + "/" + waves().first();
            SF_INFO info{};
            SNDFILE* file = sf_open(QFile::encodeName(wave).constData(), SFM_READ, &info);
            std::vector<std::int16_t> samples(static_cast<size_t>(info.frames * info.channels));
            if (file) {
                sf_readf_short(file, samples.data(), info.frames);
                sf_close(file);
            }
            QFile::remove(wave);
            const RadioAudio::Onset onset = RadioAudio::FindOnset(samples, info.channels, info.samplerate);
            if (!onset.found) continue;
            missing.push_back(onset.missingMs);
            extra.push_back(onset.silentMs);
            radio.SetOverride(Quiet());
            WaitFor([] { return false; }, 600);  // silence between the hits
        }
    }
    if (missing.empty()) {
        state.SkipWithError("no recording held the tone");
        return;
    }
    state.counters["hits"] = static_cast<double>(missing.size());
    state.counters["missing_ms_max"] = Percentile(missing, 1.0);
    state.counters["hits_missing_1ms_or_more"] =
        static_cast<double>(std::count_if(missing.begin(), missing.end(), [](double ms) { return ms >= 1.0; }));
    state.counters["extra_ms_min"] = Percentile(extra, 0.0);
    state.counters["extra_ms_median"] = Percentile(extra, 0.5);
    state.counters["extra_ms_max"] = Percentile(extra, 1.0);
    state.counters["seen_after_ms_min"] = Percentile(seen, 0.0);
    state.counters["seen_after_ms_max"] = Percentile(seen, 1.0);
}
BENCHMARK(BM_RecordingMissesNoneOfTheToneStart)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    // The radio's audio is this program's only sound input.
    if (Speaker().Error().empty()) qputenv("PULSE_SERVER", QByteArray::fromStdString(Speaker().Server()));
    return quorvane::bench::RunBenchmarks(argc, argv);
}
