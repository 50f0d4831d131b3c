// The browser remote under load. The display changes every 50 ms, so every
// accepted poll tick sends every page a display message, and the sound
// input is the radio's audio (RadioAudio) with a tone playing.
//
// BM_ProgramWithListeningPages: the real program (offscreen window, --web)
// polls the simulator for 10 s with no page, then 10 s with 5 pages (Qt
// WebSocket clients in this process) connected and listening. For each
// phase: the program's CPU (from /proc, % of one core), the 95th percentile
// and the longest time between two polls as the simulator received them
// (the poll asks only once the previous round is answered, so these are
// the accepted ticks), and what each page received.
//
// BM_DisplayToPage: the window and 5 listening pages in this process; for
// each change of the window's display, how long until each page has it; and
// how long after a tone begins on the sound input the pages first get it.
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "BenchSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebSocket>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <unistd.h>

#include "RadioAudio.h"
#include "ScenarioParser.h"
#include "Simulator.h"
#include "web/RemoteMessages.h"
#include "web/qt/RemoteServer.h"
#include "window/Form1.h"

namespace {

using namespace quorvane;
using bench::Percentile;
using bench::WaitFor;
using Clock = std::chrono::steady_clock;

constexpr int kPages = 5;
constexpr int kPhaseMs = 10000;

RadioAudio& Speaker() {
    static RadioAudio audio(QUORVANE_SOURCE_DIR "/scripts/test-audio");
    return audio;
}



// A radio whose display line changes every 50 ms, linked as com1 of folder.
struct ChangingRadio {
    std::unique_ptr<Simulator> radio;
    QTimer changer;
    int step = 0;

    ChangingRadio(const QString& folder, const std::string& logPath) {
        std::string error;
        SimulatorOptions options;
        options.log_path = logPath;
        radio = std::make_unique<Simulator>(ParseScenario("once\nstep 1000 idle line1=\"  Scanning...   \"\n", &error),
                                            options);
        std::filesystem::create_symlink(radio->SlavePath(), (folder + "/com1").toStdString());
        radio->Start();
        changer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&changer, &QTimer::timeout, [this] {
            RadioView view;
            view.line1 = PadLine("Step " + std::to_string(++step));
            view.icons1 = "100000000000000";
            radio->SetOverride(view);
        });
        changer.start(50);
    }
};

void WriteFile(const QString& path, const std::string& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// A page: a WebSocket client counting what it gets, listening when asked.
struct Page {
    QWebSocket socket;
    int texts = 0;
    int soundFrames = 0;
    std::optional<Clock::time_point> loud;  // the first frame with a sample beyond 1000
    std::function<void(const std::string&)> onText;

    Page(const QString& origin, const QString& pageUrl, bool listen) : socket(origin) {
        QObject::connect(&socket, &QWebSocket::textMessageReceived, [this](const QString& text) {
            ++texts;
            if (onText) onText(text.toStdString());
        });
        QObject::connect(&socket, &QWebSocket::binaryMessageReceived, [this](const QByteArray& frame) {
            ++soundFrames;
            for (qsizetype i = 8; i + 1 < frame.size() && !loud; i += 2) {
                const auto sample = static_cast<std::int16_t>(static_cast<std::uint8_t>(frame[i]) |
                                                              static_cast<std::uint8_t>(frame[i + 1]) << 8);
                if (std::abs(static_cast<int>(sample)) > 1000) loud = Clock::now();
            }
        });
        QObject::connect(&socket, &QWebSocket::connected, [this, listen] {
            if (listen) socket.sendTextMessage(R"({"type":"listen","on":true})");
        });
        QString url = pageUrl;
        socket.open(QUrl(url.replace("http://", "ws://").replace("/?", "/ws?")));
    }
};

// The program's CPU time so far, in clock ticks.
long long CpuTicks(qint64 pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stoll(field);
        if (i == 15) stime = std::stoll(field);
    }
    return utime + stime;
}

// The gaps (ms) between the polls the simulator received from fromMs on.
std::vector<double> PollGaps(const std::string& wireLog, long fromMs, long toMs) {
    std::ifstream log(wireLog);
    std::vector<double> gaps;
    long last = -1;
    for (std::string line; std::getline(log, line);) {
        const auto space = line.find(' ');
        if (space == std::string::npos || line.compare(space + 1, std::string::npos, "STS") != 0) continue;
        const long at = std::stol(line.substr(0, space));
        if (at < fromMs || at > toMs) continue;
        if (last >= 0) gaps.push_back(static_cast<double>(at - last));
        last = at;
    }
    return gaps;
}

void BM_ProgramWithListeningPages(benchmark::State& state) {
    if (!Speaker().Error().empty()) {
        state.SkipWithError(Speaker().Error().c_str());
        return;
    }
    Speaker().StartTone();
    for (auto _ : state) {
        QTemporaryDir folder;
        const std::string wireLog = (folder.path() + "/wire.log").toStdString();
        ChangingRadio radio(folder.path(), wireLog);
        WriteFile(folder.path() + "/com_settings.txt", "0\r\n3\r\n100\r\n");
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("PULSE_SERVER", QString::fromStdString(Speaker().Server()));
        program.setProcessEnvironment(env);
        program.start(QCoreApplication::applicationDirPath() + "/../quorvane",
                      {"--app-dir", folder.path(), "--web", "127.0.0.1:18741"});
        QString url;
        WaitFor([&] {
            url += QString::fromUtf8(program.readAllStandardOutput());
            return url.contains('\n');
        }, 10000);
        url = url.section("Web remote: ", 1).trimmed();
        if (url.isEmpty()) {
            state.SkipWithError("the program printed no link");
            return;
        }
        const long hz = sysconf(_SC_CLK_TCK);
        const auto phase = [&](const char* name) {
            const long from = radio.radio->Now();
            const long long before = CpuTicks(program.processId());
            QElapsedTimer wall;
            wall.start();
            WaitFor([] { return false; }, kPhaseMs);
            const double cpu = 100.0 * static_cast<double>(CpuTicks(program.processId()) - before) / hz /
                               (static_cast<double>(wall.elapsed()) / 1000.0);
            const auto gaps = PollGaps(wireLog, from, radio.radio->Now());
            state.counters[std::string(name) + "_cpu_pct"] = cpu;
            state.counters[std::string(name) + "_poll_p95_ms"] = Percentile(gaps, 0.95);
            state.counters[std::string(name) + "_poll_max_ms"] = Percentile(gaps, 1.0);
            state.counters[std::string(name) + "_polls_per_s"] =
                static_cast<double>(gaps.size()) / (static_cast<double>(wall.elapsed()) / 1000.0);
            return cpu;
        };
        WaitFor([] { return false; }, 3000);  // start-up settles
        const double idle = phase("no_pages");
        const QString origin = "http://" + url.section('/', 2, 2);
        std::vector<std::unique_ptr<Page>> pages;
        for (int i = 0; i < kPages; ++i) pages.push_back(std::make_unique<Page>(origin, url, true));
        WaitFor([&] { return std::all_of(pages.begin(), pages.end(), [](auto& p) { return p->soundFrames > 0; }); },
                10000);
        const double loaded = phase("5_pages");
        state.counters["cpu_rise_pct_of_a_core"] = loaded - idle;
        state.counters["page_sound_frames_per_s"] = pages[0]->soundFrames / (kPhaseMs / 1000.0);
        state.counters["page_messages_per_s"] = pages[0]->texts / (kPhaseMs / 1000.0);
        state.SetIterationTime(2 * kPhaseMs / 1000.0);
        pages.clear();
        program.terminate();
        program.waitForFinished(10000);
    }
}
BENCHMARK(BM_ProgramWithListeningPages)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

void BM_DisplayToPage(benchmark::State& state) {
    if (!Speaker().Error().empty()) {
        state.SkipWithError(Speaker().Error().c_str());
        return;
    }
    qputenv("PULSE_SERVER", QByteArray::fromStdString(Speaker().Server()));
    Speaker().Silence();
    for (auto _ : state) {
        QTemporaryDir folder;
        ChangingRadio radio(folder.path(), {});
        WriteFile(folder.path() + "/com_settings.txt", "0\r\n3\r\n100\r\n");
        Form1 form(folder.path());
        form.show();
        form.Remote().Start({"127.0.0.1", 0});
        const QString url = form.Remote().Url(RemoteRole::Control);
        const QString origin = "http://127.0.0.1:" + QString::number(form.Remote().Listening().port);
        // When the window showed each line, and how long until each page had it.
        std::map<std::string, Clock::time_point> shown;
        std::vector<double> delays;
        auto* text1 = form.findChild<QPlainTextEdit*>("Text1");
        QObject::connect(text1, &QPlainTextEdit::textChanged, [&] {
            shown.emplace(text1->toPlainText().section('\n', 0, 0).toStdString(), Clock::now());
        });
        std::vector<std::unique_ptr<Page>> pages;
        for (int i = 0; i < kPages; ++i) {
            pages.push_back(std::make_unique<Page>(origin, url, true));
            pages.back()->onText = [&](const std::string& text) {
                const auto frame = ReadDisplayMessage(text);
                if (!frame) return;
                const auto at = shown.find(frame->line1);
                if (at == shown.end()) return;
                delays.push_back(std::chrono::duration<double, std::milli>(Clock::now() - at->second).count());
            };
        }
        WaitFor([] { return false; }, kPhaseMs);
        state.SetIterationTime(kPhaseMs / 1000.0);
        state.counters["display_changes"] = static_cast<double>(shown.size());
        state.counters["window_to_page_median_ms"] = Percentile(delays, 0.5);
        state.counters["window_to_page_p95_ms"] = Percentile(delays, 0.95);
        state.counters["window_to_page_max_ms"] = Percentile(delays, 1.0);
        std::vector<double> heard;
        for (auto& page : pages) page->loud.reset();
        const auto toneStart = Speaker().StartTone();
        WaitFor([&] { return std::all_of(pages.begin(), pages.end(), [](auto& p) { return p->loud.has_value(); }); },
                5000);
        for (auto& page : pages) {
            if (page->loud) heard.push_back(std::chrono::duration<double, std::milli>(*page->loud - toneStart).count());
        }
        state.counters["sound_to_page_median_ms"] = Percentile(heard, 0.5);
        Speaker().Silence();
    }
}
BENCHMARK(BM_DisplayToPage)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    return quorvane::bench::RunBenchmarks(argc, argv);
}
