#include "web/ClientBacklog.h"

#include <gtest/gtest.h>

#include "web/RemoteAudio.h"

namespace quorvane {
namespace {

using V = ClientBacklog::Verdict;

TEST(ClientBacklog, SoundIsLeftOutFirstThenTheStalledPageIsDropped) {
    ClientBacklog page;
    EXPECT_EQ(page.Offer(kBacklogMostBytes * 2), V::Send);  // one long log to a page that has taken all
    EXPECT_EQ(page.Offer(100), V::Drop);
    EXPECT_EQ(page.Offer(1), V::Drop);                       // and stays dropped
    page.Written(kBacklogMostBytes * 4);
    EXPECT_EQ(page.Offer(1), V::Drop);

    ClientBacklog slow;
    EXPECT_EQ(slow.Offer(kBacklogSoundBytes, true), V::Send);
    EXPECT_EQ(slow.Offer(1, true), V::Send);
    EXPECT_EQ(slow.Offer(1000, true), V::Skip);  // more than half a second of sound waiting
    EXPECT_EQ(slow.Offer(1000), V::Send);        // the display still goes
    slow.Written(kBacklogSoundBytes + 1);
    EXPECT_EQ(slow.QueuedMessages(), 1);
    EXPECT_EQ(slow.Offer(1000, true), V::Send);

    ClientBacklog stalled;
    for (int m = 0; m < kBacklogMostMessages; ++m) ASSERT_EQ(stalled.Offer(200), V::Send) << m;
    stalled.Written(199);  // part of a message frees nothing
    EXPECT_EQ(stalled.QueuedMessages(), kBacklogMostMessages);
    EXPECT_EQ(stalled.Offer(200), V::Drop);

    ClientBacklog bytes;
    EXPECT_EQ(bytes.Offer(kBacklogMostBytes - 10), V::Send);
    EXPECT_EQ(bytes.Offer(11), V::Drop);
}

TEST(ClientBacklog, FrameSizes) {
    EXPECT_EQ(WebSocketFrameBytes(125), 127);
    EXPECT_EQ(WebSocketFrameBytes(126), 130);
    EXPECT_EQ(WebSocketFrameBytes(65536), 65546);
}

// 48 kHz stereo in, 16 kHz mono frames of 1600 samples out, numbered.
TEST(RemoteAudio, MonoAt16kHzInNumberedFrames) {
    RemoteAudioEncoder encoder;
    EXPECT_TRUE(encoder.Push(nullptr, 0).empty());
    encoder.Reset(48000, 2);
    std::vector<std::int16_t> input;
    for (int f = 0; f < 4800 + 30; ++f) {
        input.push_back(static_cast<std::int16_t>(f % 3 == 0 ? -30000 : 1000));  // mono: -30000, 2000, 2000
        input.push_back(static_cast<std::int16_t>(f % 3 == 0 ? -30000 : 3000));
    }
    const auto frames = encoder.Push(input.data(), 4800 + 30);
    ASSERT_EQ(frames.size(), 1u);
    const std::string& frame = frames[0];
    ASSERT_EQ(frame.size(), kRemoteAudioHeaderBytes + 2 * kRemoteAudioFrameSamples);
    EXPECT_EQ(frame.substr(0, 8), std::string("\x80\x3e\0\0\0\0\0\0", 8));
    const auto sample = [&frame](int n) {
        return static_cast<std::int16_t>(static_cast<unsigned char>(frame[8 + 2 * n]) |
                                         (static_cast<unsigned char>(frame[9 + 2 * n]) << 8));
    };
    EXPECT_EQ(sample(0), -8666);  // the mean of three input samples
    EXPECT_EQ(sample(kRemoteAudioFrameSamples - 1), -8666);
    const auto next = encoder.Push(input.data(), 4800);
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0][4], 1);  // frame number 1

    encoder.Reset(8000, 1);  // below 16 kHz each sample is held twice
    const std::int16_t low[800] = {-2};
    const auto held = encoder.Push(low, 800);
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held[0].substr(8, 6), std::string("\xfe\xff\xfe\xff\0\0", 6));
}

}  // namespace
}  // namespace quorvane
