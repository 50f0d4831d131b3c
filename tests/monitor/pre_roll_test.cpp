#include "monitor/PreRoll.h"

#include <gtest/gtest.h>

#include <numeric>

namespace quorvane {
namespace {

// Frames numbered by their own value, handed over in blocks.
std::vector<std::int16_t> Frames(std::int16_t first, int count) {
    std::vector<std::int16_t> frames(static_cast<std::size_t>(count));
    std::iota(frames.begin(), frames.end(), first);
    return frames;
}

TEST(PreRollBuffer, SamplesArePlacedByCaptureTimeNotArrival) {
    PreRollBuffer held;
    held.Reset(1000, 1, 2000);  // 1 frame a millisecond, 2 s held
    EXPECT_EQ(held.FrameAt(5'000'000), 0);  // nothing yet
    // 100 frames arrive promptly at 1.0 s, the next 100 in one block 50 ms late.
    held.Append(Frames(0, 100).data(), 100, 1'000'000);
    held.Append(Frames(100, 100).data(), 100, 1'150'000);
    // Frame 0 was captured at 0.9 s: the late block does not move the
    // timeline (beyond its slow rise of 1 ms a second).
    EXPECT_EQ(held.FrameAt(900'000), 0);
    EXPECT_NEAR(held.FrameAt(1'050'000), 150, 1);
    EXPECT_NEAR(held.FrameAt(1'300'000), 400, 1);  // not arrived yet
    EXPECT_EQ(held.Since(150), Frames(150, 50));
    // An earlier bound (a faster input clock) takes over at once.
    held.Append(Frames(200, 100).data(), 100, 1'190'000);
    EXPECT_EQ(held.FrameAt(1'190'000), 300);
}

TEST(PreRollBuffer, AfterTheInputLostAudioTheTimelineFollowsWithinASecond) {
    PreRollBuffer held;
    held.Reset(1000, 1, 2000);  // 1 frame a millisecond
    const auto block = [&](std::int64_t arrivalMs) { held.Append(Frames(0, 20).data(), 20, arrivalMs * 1000); };
    for (std::int64_t ms = 20; ms <= 1000; ms += 20) block(ms);
    // 500 ms of audio never arrive; blocks come on time again after the gap.
    for (std::int64_t ms = 1520; ms <= 2600; ms += 20) block(ms);
    // A second later the frame captured 300 ms ago is where it belongs, not
    // 500 ms further on in the audio.
    EXPECT_EQ(held.FrameAt(2'300'000), held.EndFrame() - 300);
    // A block that is a little late (within two blocks) moves nothing.
    block(2630);
    block(2640);
    EXPECT_EQ(held.FrameAt(2'640'000), held.EndFrame());
}

TEST(PreRollBuffer, HoldsOnlyTheLastSecondsAcrossTheWrap) {
    PreRollBuffer held;
    held.Reset(1000, 2, 100);  // stereo, 100 frames held
    std::vector<std::int16_t> block(2 * 70);
    for (int b = 0; b < 3; ++b) {
        for (int f = 0; f < 70; ++f) block[2 * f] = block[2 * f + 1] = static_cast<std::int16_t>(70 * b + f);
        held.Append(block.data(), 70, 70'000 * (b + 1));
    }
    EXPECT_EQ(held.BeginFrame(), 110);
    EXPECT_EQ(held.FrameAt(0), 110);  // older audio is gone
    const std::vector<std::int16_t> last = held.Since(0);
    ASSERT_EQ(last.size(), 200u);
    EXPECT_EQ(last.front(), 110);
    EXPECT_EQ(last.back(), 209);
    EXPECT_EQ(PreRollMs(100, 0), 150);
    EXPECT_EQ(PreRollMs(100, 230), 380);  // two ticks dropped since the squelch was seen closed
    EXPECT_EQ(PreRollMs(100, 60'000), 2000);
}

}  // namespace
}  // namespace quorvane
