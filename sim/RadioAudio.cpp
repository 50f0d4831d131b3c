#include "RadioAudio.h"

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>

namespace quorvane {

namespace {

constexpr double kToneHz = 440;
// Loudness of the tone: kToneStart at its first sample, kTonePerMs more each
// millisecond, for one second.
constexpr double kToneStart = 2000;
constexpr double kTonePerMs = 20;
constexpr double kToneRiseMs = 1000;
constexpr double kPageLoudness = 8000;
constexpr std::int64_t kSilent = std::numeric_limits<std::int64_t>::max();
// The pipe holds this much (about 46 ms); what does not fit is dropped, so
// the source never reads stale audio.
constexpr int kPipeBytes = 4096;

double Loudness(double msIntoTone) { return kToneStart + kTonePerMs * std::min(msIntoTone, kToneRiseMs); }

std::int64_t FramesSince(std::chrono::steady_clock::time_point start) {
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count() * RadioAudio::kRate / 1'000'000;
}

}  // namespace

RadioAudio::RadioAudio(const std::string& testAudioScript)
    : script_(testAudioScript), toneFrame_(kSilent), pageFrame_(kSilent) {
    char pattern[] = "/tmp/quorvane-radio-audio-XXXXXX";
    if (!mkdtemp(pattern)) {
        error_ = "no temporary folder";
        return;
    }
    folder_ = pattern;
    server_ = "unix:" + folder_ + "/pulse/native";
    RunShell("QUORVANE_AUDIO_DIR='" + folder_ + "' bash '" + script_ + "' >/dev/null 2>&1");
    const std::string fifo = folder_ + "/radio.fifo";
    const std::string pactl = "PULSE_SERVER='" + server_ + "' pactl ";
    RunShell(pactl + "load-module module-pipe-source source_name=radio file='" + fifo +
             "' format=s16le rate=" + std::to_string(kRate) + " channels=1 >/dev/null 2>&1");
    RunShell(pactl + "set-default-source radio >/dev/null 2>&1");
    // The script's sine-wave input goes: the radio is the only input left.
    RunShell(pactl + "unload-module module-sine-source >/dev/null 2>&1");
    if (RunShell(pactl + "get-default-source 2>/dev/null") != "radio\n") {
        error_ = "the sound server with the pipe source did not start (pulseaudio and pactl needed)";
        return;
    }
    start_ = std::chrono::steady_clock::now();
    feeder_ = std::thread([this] { Feed(); });
}

RadioAudio::~RadioAudio() {
    stopping_ = true;
    if (feeder_.joinable()) feeder_.join();
    if (folder_.empty()) return;
    RunShell("QUORVANE_AUDIO_DIR='" + folder_ + "' bash '" + script_ + "' --stop >/dev/null 2>&1");
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string RadioAudio::RunShell(const std::string& command) const {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
        pclose(pipe);
    }
    return out;
}

std::chrono::steady_clock::time_point RadioAudio::StartTone() {
    const auto now = std::chrono::steady_clock::now();
    toneFrame_ = FramesSince(start_);
    return now;
}

void RadioAudio::Silence() {
    toneFrame_ = kSilent;
    pageFrame_ = kSilent;
}

void RadioAudio::StartPage(double firstHz, double secondHz, double firstMs, double secondMs) {
    pageFirstHz_ = firstHz;
    pageSecondHz_ = secondHz;
    pageFirstMs_ = firstMs;
    pageSecondMs_ = secondMs;
    pageFrame_ = FramesSince(start_);
}

void RadioAudio::Feed() {
    const std::string fifo = folder_ + "/radio.fifo";
    int fd = -1;
    while (fd < 0 && !stopping_) {
        fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (fd < 0) return;
    fcntl(fd, F_SETPIPE_SZ, kPipeBytes);
    std::int64_t written = FramesSince(start_);
    std::vector<std::int16_t> block;
    while (!stopping_) {
        const std::int64_t due = FramesSince(start_);
        block.clear();
        if (!feeding_) written = due;
        const std::int64_t tone = toneFrame_;
        const std::int64_t page = pageFrame_;
        for (std::int64_t frame = std::max(written, due - kRate); frame < due; ++frame) {
            double value = 0;
            if (frame >= tone) {
                const double seconds = static_cast<double>(frame - tone) / kRate;
                value = Loudness(seconds * 1000) * std::sin(2 * M_PI * kToneHz * seconds);
            } else if (frame >= page) {
                const double ms = 1000.0 * static_cast<double>(frame - page) / kRate;
                const double hz = ms < pageFirstMs_ ? pageFirstHz_.load() : pageSecondHz_.load();
                if (ms < pageFirstMs_ + pageSecondMs_) value = kPageLoudness * std::sin(2 * M_PI * hz * ms / 1000);
            }
            block.push_back(static_cast<std::int16_t>(std::lround(value)));
        }
        written = due;
        // Real time: what does not fit into the pipe now is dropped.
        if (!block.empty()) {
            [[maybe_unused]] const ssize_t ignored = write(fd, block.data(), block.size() * sizeof block[0]);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    close(fd);
}

RadioAudio::Onset RadioAudio::FindOnset(const std::vector<std::int16_t>& samples, int channels, int rate) {
    Onset onset;
    const std::size_t step = static_cast<std::size_t>(std::max(1, channels));
    const std::size_t frames = samples.size() / step;
    std::size_t first = 0;
    while (first < frames && std::abs(samples[first * step]) <= kToneStart / 2) ++first;
    if (first == frames) return onset;
    // The first crest after the tone appears: its height tells how far into
    // the tone it lies.
    const std::size_t period = static_cast<std::size_t>(rate / kToneHz) + 1;
    std::size_t crest = first;
    for (std::size_t i = first; i < std::min(frames, first + period); ++i) {
        if (std::abs(samples[i * step]) > std::abs(samples[crest * step])) crest = i;
    }
    const double msIntoTone = (std::abs(samples[crest * step]) - kToneStart) / kTonePerMs;
    const double startMs = 1000.0 * static_cast<double>(crest) / rate - msIntoTone;
    onset.found = true;
    onset.silentMs = std::max(0.0, startMs);
    onset.missingMs = std::max(0.0, -startMs);
    return onset;
}

}  // namespace quorvane
