#pragma once
// The radio's loudspeaker as the computer's sound input, for tests and
// benchmarks of the recordings: a private PulseAudio server (started with
// scripts/test-audio in a folder of its own) whose default input is a pipe
// source fed in real time with silence, and with a test tone from a chosen
// moment on. The tone is 440 Hz whose loudness rises steadily from its start,
// so a recording tells how much of the tone's beginning it holds.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace quorvane {

class RadioAudio {
public:
    static constexpr int kRate = 44100;

    // testAudioScript: the path of scripts/test-audio.
    explicit RadioAudio(const std::string& testAudioScript);
    ~RadioAudio();
    RadioAudio(const RadioAudio&) = delete;
    RadioAudio& operator=(const RadioAudio&) = delete;

    // Empty when the server runs and is fed; otherwise what went wrong.
    const std::string& Error() const { return error_; }
    // For PULSE_SERVER, before the program under test first uses its sound devices.
    const std::string& Server() const { return server_; }

    // Off: the pipe gets nothing, as an input that stops without an error
    // (a stalled sound server); on: it is fed in real time again.
    void SetFeeding(bool on) { feeding_ = on; }

    // The tone begins now; returns the moment it begins.
    std::chrono::steady_clock::time_point StartTone();
    void Silence();
    // A two-tone page begins now (as fire and EMS pagers hear it): the first
    // tone for firstMs, then the second for secondMs, at a steady loudness,
    // then silence. Silence ends it too.
    void StartPage(double firstHz, double secondHz, double firstMs = 1000, double secondMs = 3000);

    // Where the tone begins in a recording (its first channel, at `rate`).
    struct Onset {
        bool found = false;
        double silentMs = 0;   // audio before the tone
        double missingMs = 0;  // the tone's beginning that is not there
    };
    static Onset FindOnset(const std::vector<std::int16_t>& samples, int channels, int rate);

private:
    void Feed();
    std::string RunShell(const std::string& command) const;

    std::string script_;
    std::string folder_;
    std::string server_;
    std::string error_;
    std::chrono::steady_clock::time_point start_;
    std::atomic<std::int64_t> toneFrame_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> feeding_{true};
    std::atomic<std::int64_t> pageFrame_;
    std::atomic<double> pageFirstHz_{0};
    std::atomic<double> pageSecondHz_{0};
    std::atomic<double> pageFirstMs_{0};
    std::atomic<double> pageSecondMs_{0};
    std::thread feeder_;
};

}  // namespace quorvane
