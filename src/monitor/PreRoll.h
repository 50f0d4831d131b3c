#pragma once
#include <cstdint>
#include <optional>
#include <vector>

namespace quorvane {

// How much of the sound input is held in memory while "Record Audio" is
// ticked and the link runs.
inline constexpr int kPreRollKeepMs = 2000;

// How far before now (the poll tick that sees a hit) its recording begins.
// The last tick that still saw the squelch closed read replies asked for one
// poll interval before it, so the squelch opened after that: the recording
// begins one poll interval plus 50 ms before that tick (msSinceQuietTick ago),
// whatever ticks were dropped in between. At most what is held in memory.
int PreRollMs(int pollIntervalMs, long long msSinceQuietTick);

// The last seconds of the sound input, each sample placed at the time it was
// captured rather than when it was handed over (inputs hand audio over in
// blocks, late). Times are microseconds on one steady clock.
//
// The timeline: the newest frame of every block was captured no later than
// the block arrived, so frame 0 was captured no later than arrival minus the
// frames so far. The earliest of these bounds is the best estimate; it is
// let rise slowly (1 ms a second) so that an input whose clock runs slower
// than the computer's is followed. When the input loses audio (a gap in
// what it delivers), every later block looks late by the gap: once blocks
// have stayed later than the timeline by more than two blocks for a second,
// the timeline moves to them.
class PreRollBuffer {
public:
    // Empties the buffer and sets its format; nothing is held until Append.
    void Reset(int sampleRate, int channels, int keepMs = kPreRollKeepMs);
    // frames interleaved 16-bit frames, handed over at arrivalUs.
    void Append(const std::int16_t* samples, std::int64_t frames, std::int64_t arrivalUs);

    // The number of the frame captured at timeUs; never below BeginFrame(),
    // and EndFrame() while nothing has arrived. It may lie beyond EndFrame()
    // when that audio has not arrived yet.
    std::int64_t FrameAt(std::int64_t timeUs) const;
    std::int64_t BeginFrame() const { return end_ - held_; }  // the oldest frame held
    std::int64_t EndFrame() const { return end_; }            // one past the newest
    // The interleaved samples of the frames held from `from` on.
    std::vector<std::int16_t> Since(std::int64_t from) const;

private:
    int rate_ = 0;
    int channels_ = 1;
    std::vector<std::int16_t> ring_;  // capacity frames, frame f at (f % capacity)
    std::int64_t capacity_ = 0;
    std::int64_t end_ = 0;
    std::int64_t held_ = 0;
    bool timed_ = false;
    void FollowLostAudio(double bound, double blockUs, std::int64_t arrivalUs);

    double originUs_ = 0;  // when frame 0 was captured
    std::int64_t lastArrivalUs_ = 0;
    std::optional<std::int64_t> lateSinceUs_;  // since when blocks arrive late by more than two blocks
    double earliestLateBound_ = 0;
};

}  // namespace quorvane
