#include <gtest/gtest.h>

#include "calls/CallsSettings.h"

using namespace quorvane;

namespace {

TEST(CallsSettings, ReadsServersAndChannelNumbersAndSaysWhatItCannotUse) {
    const CallsSettings settings = ReadCallsSettings(
        "# calls\r\n"
        "rdio-scanner https://calls.example.org/api/call-upload d2079382-07df-4aa9-8940-8fb9e4ef5f2e 11\r\n"
        "talkgroup 101 County Fire Dispatch\n"
        "rdio-scanner https://x/api key\r\n"
        "rdio-scanner ftp://x/api key 3\r\n"
        "rdio-scanner https://x/api key eleven\r\n"
        "talkgroup ten Dispatch\r\n"
        "broadcastify-calls a b c\r\n");
    ASSERT_EQ(settings.servers.size(), 1u);
    EXPECT_EQ(settings.servers[0], (CallServer{"rdio-scanner", "https://calls.example.org/api/call-upload",
                                               "d2079382-07df-4aa9-8940-8fb9e4ef5f2e", "11"}));
    EXPECT_EQ(settings.channelTalkgroups.at("county fire dispatch"), 101);
    const std::vector<std::string> notices{
        "calls.txt line 4: rdio-scanner takes URL KEY SYSTEM; line ignored",
        "calls.txt line 5: the address \"ftp://x/api\" is no http:// or https:// address; line ignored",
        "calls.txt line 6: the system \"eleven\" is no number; line ignored",
        "calls.txt line 7: talkgroup takes NUMBER CHANNEL NAME; line ignored",
        "calls.txt line 8: unknown kind \"broadcastify-calls\"; line ignored",
    };
    EXPECT_EQ(settings.notices, notices);
}

TEST(CallsSettings, ChoosesTheTalkgroupOfAHit) {
    const CallsSettings settings = ReadCallsSettings("talkgroup 101 Dispatch 1\r\n");
    const struct {
        bool trunked;
        const char* id;
        const char* channel;
        const char* frequency;
        long long talkgroup;
    } cases[] = {
        {true, "54241", "Dispatch 1", "08510125", 54241},   // trunked: its ID
        {false, "", " dispatch 1 ", "01544300", 101},       // a channel calls.txt numbers
        {false, "", "Dispatch 2", "01544300", 1544300},     // else its frequency in 100 Hz
        {false, "", "Dispatch 2", "04600125", 4600125},
        {true, "", "Tac", "08510125", 8510125},             // trunked without an ID
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CallTalkgroup(settings, c.trunked, c.id, c.channel, c.frequency), c.talkgroup) << c.channel;
    }
    EXPECT_EQ(FrequencyHz("01544300"), 154430000);
    EXPECT_EQ(FrequencyHz("none"), 0);
}

TEST(CallsSettings, SendsTheFieldsTheServerKnowsAndLeavesEmptyLabelsOut) {
    const CallServer server{"rdio-scanner", "https://x/api/call-upload", "KEY", "11"};
    const CallMetadata call{"2026-12-06T15:20:01.000Z", 154430000, 1544300, "County Fire", "", "Dispatch 1"};
    const std::vector<std::pair<std::string, std::string>> fields{
        {"key", "KEY"},           {"system", "11"},           {"dateTime", "2026-12-06T15:20:01.000Z"},
        {"frequency", "154430000"}, {"talkgroup", "1544300"}, {"systemLabel", "County Fire"},
        {"talkgroupLabel", "Dispatch 1"}};
    EXPECT_EQ(CallFields(server, call), fields);
}

TEST(CallsSettings, RetriesWhatMayWorkLaterAndDropsARefusal) {
    const struct {
        int status;
        CallOutcome outcome;
    } cases[] = {{200, CallOutcome::Delivered}, {204, CallOutcome::Delivered}, {0, CallOutcome::Retry},
                 {500, CallOutcome::Retry},     {503, CallOutcome::Retry},     {408, CallOutcome::Retry},
                 {429, CallOutcome::Retry},     {401, CallOutcome::Refused},   {404, CallOutcome::Refused},
                 {302, CallOutcome::Retry}};
    for (const auto& c : cases) EXPECT_EQ(ClassifyAnswer(c.status), c.outcome) << c.status;
}

TEST(CallsSettings, AQueuedCallReadsBackWholeAndADamagedOneNotAtAll) {
    const QueuedCall queued{{"rdio-scanner", "https://x/api", "KEY", "11"},
                            {"2026-12-06T15:20:01.000Z", 154430000, 1544300, " Sys ", "\"Group", "Chan=1"},
                            "/logs/a b.wav"};
    const auto back = ReadQueuedCall(WriteQueuedCall(queued));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->server, queued.server);
    EXPECT_EQ(back->recording, queued.recording);
    EXPECT_EQ(back->call.system, " Sys ");
    EXPECT_EQ(back->call.group, "\"Group");
    EXPECT_EQ(back->call.channel, "Chan=1");
    EXPECT_EQ(back->call.talkgroup, 1544300);
    const std::string bytes = WriteQueuedCall(queued);
    EXPECT_FALSE(ReadQueuedCall(bytes.substr(0, bytes.find("frequency="))));
    EXPECT_FALSE(ReadQueuedCall(""));
}

TEST(CallsSettings, TheCallsLineSaysWhatWaitsAndTheLastError) {
    EXPECT_EQ(CallsStateText(0, ""), "Calls: none waiting");
    EXPECT_EQ(CallsStateText(3, "x answered 503"), "Calls: 3 waiting; last error: x answered 503");
    EXPECT_EQ(CallsStateText(0, "", false), "Calls: off (no server in calls.txt)");
    EXPECT_EQ(CallsStateText(1, "", false), "Calls: 1 waiting");
}

}  // namespace
