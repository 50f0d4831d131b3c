#include <gtest/gtest.h>

#include "feed/FeedSettings.h"
#include "feed/Mp3Encoder.h"

#include <cmath>

using namespace quorvane;

namespace {

TEST(FeedSettings, ReadsEveryValueAndWritesThemBack) {
    const FeedSettings read = ReadFeedSettings(
        "# feed\r\nurl=icecast://source:pw@radio.example.org:8000/scanner\r\nbitrate=32\r\nsamplerate=16000\r\n"
        "name=\"My Scanner\"\r\ndescription=County\r\ngenre=Scanner\r\npublic=1\r\nstart=1\r\nidle_title=Quiet\r\n");
    EXPECT_TRUE(read.notices.empty());
    EXPECT_EQ(read.bitrate, 32);
    EXPECT_EQ(read.samplerate, 16000);
    EXPECT_EQ(read.name, "My Scanner");
    EXPECT_TRUE(read.listed);
    EXPECT_TRUE(read.start);
    const FeedSettings again = ReadFeedSettings(WriteFeedSettings(read));
    EXPECT_EQ(again.url, read.url);
    EXPECT_EQ(again.idleTitle, "Quiet");
    EXPECT_EQ(again.description, "County");
    EXPECT_EQ(again.genre, "Scanner");
    EXPECT_EQ(again.bitrate, 32);
    EXPECT_TRUE(again.notices.empty());
}

TEST(FeedSettings, AValueThatCannotBeUsedKeepsItsDefaultWithANotice) {
    const struct {
        const char* line;
        const char* notice;
    } cases[] = {
        {"bitrate=7", "feed.txt line 1: bitrate \"7\" is not 8 to 320; 16 is used"},
        {"samplerate=22000", "feed.txt line 1: samplerate \"22000\" is no MP3 sample rate (8000 to 48000); 22050 is used"},
        {"public=yes", "feed.txt line 1: public is 0 or 1; 0 is used"},
        {"url=http://x/y", "feed.txt line 1: url: the address does not start with icecast://"},
        {"colour=red", "feed.txt line 1: unknown setting \"colour\"; ignored"},
    };
    for (const auto& c : cases) {
        const FeedSettings read = ReadFeedSettings(c.line);
        ASSERT_EQ(read.notices.size(), 1u) << c.line;
        EXPECT_EQ(read.notices[0], c.notice);
        EXPECT_EQ(read.bitrate, 16);
        EXPECT_EQ(read.samplerate, 22050);
        EXPECT_FALSE(read.listed);
    }
}

TEST(FeedSettings, ReadsTheServerOfAnIcecastAddress) {
    const auto target = ParseFeedUrl("icecast://source:se:cret@[::1]:8010/live.mp3");
    ASSERT_TRUE(target);
    EXPECT_EQ(*target, (FeedTarget{"source", "se:cret", "::1", 8010, "/live.mp3"}));
    EXPECT_EQ(ParseFeedUrl("icecast://hackme@host/m")->port, 8000);
    EXPECT_EQ(ParseFeedUrl("icecast://hackme@host/m")->user, "source");
    const struct {
        const char* url;
        const char* why;
    } bad[] = {
        {"icecast://source:pw@host:8000", "names no mount"},
        {"icecast://host:8000/m", "names no password"},
        {"icecast://source:@host:8000/m", "names no password"},
        {"icecast://source:pw@host:99999/m", "\"99999\" is not 1 to 65535"},
        {"icecast://source:pw@:8000/m", "names no host"},
    };
    for (const auto& b : bad) {
        std::string why;
        EXPECT_FALSE(ParseFeedUrl(b.url, &why)) << b.url;
        EXPECT_NE(why.find(b.why), std::string::npos) << why;
    }
}

TEST(FeedSettings, TitlesNameTheHitOrFallBackToTheDisplayAndTheStation) {
    EXPECT_EQ(HitTitle("County", "Fire", "Dispatch 1"), "County / Fire / Dispatch 1");
    EXPECT_EQ(HitTitle("County Fire ", "", "Dispatch 1"), "County Fire / Dispatch 1");
    EXPECT_EQ(HitTitle("", " ", "", " 154.4300 ", "NFM"), "154.4300 / NFM");
    FeedSettings settings;
    EXPECT_EQ(IdleTitle(settings), "Quorvane");
    settings.name = "Station";
    EXPECT_EQ(IdleTitle(settings), "Station");
    settings.idleTitle = "Nothing heard";
    EXPECT_EQ(IdleTitle(settings), "Nothing heard");
    EXPECT_EQ(FeedStateText(FeedState::Waiting, 19500), "Feed: reconnecting in 20 s");
}

// Stereo 48 kHz in, mono 22050 Hz at 16 kbit/s out, block after block.
TEST(Mp3Encoder, GivesMonoFramesOfTheFeedsRateWithNoSeamBetweenBlocks) {
    Mp3Encoder encoder(16, 22050);
    std::vector<std::uint8_t> mp3;
    std::vector<std::int16_t> block(2 * 480);
    long long frame = 0;
    for (int b = 0; b < 200; ++b) {  // 2 s
        for (size_t i = 0; i < 480; ++i, ++frame) {
            block[2 * i] = block[2 * i + 1] = static_cast<std::int16_t>(8000 * std::sin(frame * 2 * M_PI * 440 / 48000));
        }
        const auto out = encoder.Encode(block.data(), 480, 48000, 2);
        mp3.insert(mp3.end(), out.begin(), out.end());
    }
    const auto rest = encoder.Flush();
    mp3.insert(mp3.end(), rest.begin(), rest.end());
    ASSERT_EQ(encoder.Error(), "");
    const Mp3Frames frames = ReadMp3Frames(mp3);
    // 2 s at 22050 Hz is 76 frames of 576 samples; LAME's flush adds a few.
    EXPECT_GE(frames.bitrates.size(), 76u);
    EXPECT_EQ(frames.bitrates, std::vector<int>(frames.bitrates.size(), 16));
    EXPECT_EQ(frames.sampleRate, 22050);
    EXPECT_TRUE(frames.mono);
    // Constant 16 kbit/s: 2 s of sound is about 4000 bytes, whatever the block size.
    EXPECT_NEAR(static_cast<double>(mp3.size()), 4000.0, 600.0);
}

}  // namespace
