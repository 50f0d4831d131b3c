#include "speech/SpeechSettings.h"

#include <gtest/gtest.h>

using namespace quorvane;

TEST(SpeechSettings, SpeakIsOffUnlessTheFileSaysOneAndABadLineSaysWhy) {
    struct Case {
        const char* bytes;
        bool speak;
        std::vector<std::string> notices;
    } cases[] = {
        {"", false, {}},
        {"speak=1\r\n", true, {}},
        {"# spoken hits\r\nSPEAK = 1\n", true, {}},
        {"speak=0\r\n", false, {}},
        {"speak=yes\r\n", false, {"speech.txt line 1: speak is 0 or 1, not \"yes\"; 0 is used"}},
        {"speak=1\r\nvoice=anna\r\n", true, {"speech.txt line 2: unknown setting \"voice\"; ignored"}},
        {"speak\r\n", false, {"speech.txt line 1: no \"=\" in \"speak\"; ignored"}},
    };
    for (const Case& c : cases) {
        const SpeechSettings read = ReadSpeechSettings(c.bytes);
        EXPECT_EQ(read.speak, c.speak) << c.bytes;
        EXPECT_EQ(read.notices, c.notices) << c.bytes;
    }
    for (bool speak : {false, true}) {
        EXPECT_EQ(ReadSpeechSettings(WriteSpeechSettings({speak, {}})).speak, speak);
    }
    EXPECT_EQ(WriteSpeechSettings({true, {}}), "speak=1\r\n");
}

TEST(SpeechSettings, AHitIsSaidByItsChannelElseItsGroupSystemOrFrequency) {
    struct Case {
        const char* system;
        const char* group;
        const char* channel;
        const char* freq;
        const char* said;
    } cases[] = {
        {"County", "Fire", "Fire Dispatch  ", "154.4300", "Fire Dispatch"},
        {"County", "Fire", "   ", "154.4300", "Fire"},
        {"County", "", "", "154.4300", "County"},
        {"", "", "", " 154.4300", "154.4300"},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        LiveHit hit;
        hit.SystemText = c.system;
        hit.GroupText = c.group;
        hit.ChannelText = c.channel;
        hit.FreqShown = c.freq;
        EXPECT_EQ(HitPhrase(hit), c.said);
    }
}
