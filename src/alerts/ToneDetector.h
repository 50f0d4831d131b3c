#pragma once
#include <cstdint>
#include <vector>

#include "alerts/AlertList.h"

namespace quorvane {

// Listens for two-tone sequential pages (the tones fire and EMS pagers use:
// a first tone of about a second, then a second tone of about three) in a
// hit's audio. The audio is brought down to one channel at about 8 kHz; every
// 0.1 s the last 0.25 s are weighed by a Hann window and a small bank of
// Goertzel filters around each watched tone (within 4 % of it) finds the
// strongest; its frequency, refined between the neighbouring filters, must
// lie within 2 % of the watched tone and the tone must hold most of the
// block's energy. A page is found once its first tone has held for half a
// second and its second, starting at most half a second later, for 0.7 s:
// well before the second tone ends. Tone tables space their tones about 3 %
// apart or more, so a neighbouring tone pair does not match.
class ToneDetector {
public:
    ToneDetector() = default;
    explicit ToneDetector(std::vector<ToneWatch> watches) : watches_(std::move(watches)) { Reset(); }

    // Takes interleaved 16-bit frames; gives the index (into the watches) of
    // each page found in them, each at most once until Reset.
    std::vector<size_t> Feed(const std::int16_t* samples, std::int64_t frames, int sampleRate, int channels);
    // A new hit: nothing heard so far counts.
    void Reset();

    const std::vector<ToneWatch>& Watches() const { return watches_; }

    // What the block analysis finds for one tone: whether it is there, and
    // at what frequency (for tests and the diagnostics).
    struct Heard {
        bool present = false;
        double hz = 0;
        double share = 0;  // of the block's energy, 0 to about 1
    };
    // One block of mono samples at rate, looked at for a tone near toneHz.
    static Heard Listen(const std::vector<float>& block, int rate, double toneHz);

private:
    struct Progress {
        int firstBlocks = 0;   // blocks in a row with the first tone
        int sinceFirst = 1000; // blocks since the first tone held long enough
        int secondBlocks = 0;
        bool found = false;
    };
    void Analyse();

    std::vector<ToneWatch> watches_;
    std::vector<Progress> progress_;
    int inputRate_ = 0;
    int factor_ = 1;           // input samples averaged into one
    int rate_ = 0;             // after averaging
    double sum_ = 0;
    int summed_ = 0;
    std::vector<float> ring_;  // the last block's samples, oldest at next_
    size_t next_ = 0;
    size_t filled_ = 0;
    size_t sinceBlock_ = 0;
    std::vector<float> block_;
};

}  // namespace quorvane
