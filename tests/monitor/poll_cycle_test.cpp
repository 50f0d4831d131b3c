#include "monitor/PollCycle.h"

#include <gtest/gtest.h>

#include <tuple>

#include "monitor/DisplayText.h"
#include "monitor/PollInput.h"

namespace quorvane {
namespace {

using namespace quorvane::testing;

std::vector<std::string> SentCommands(const TickOutcome& outcome) {
    std::vector<std::string> sent;
    for (const TickAction& action : outcome.Actions) {
        if (const auto* send = std::get_if<SendCommandAction>(&action)) sent.push_back(send->Text);
    }
    return sent;
}

std::optional<HitEnded> Ended(const TickOutcome& outcome) {
    for (const TickAction& action : outcome.Actions) {
        if (const auto* ended = std::get_if<HitEnded>(&action)) return *ended;
    }
    return std::nullopt;
}

class PollCycleTest : public ::testing::Test {
protected:
    TickOutcome Tick(const std::string& line1, const std::string& line2, const std::string& f9,
                     const std::string& gid = Gid(), const std::string& digits = "01544300",
                     const std::string& flags1 = "111111111111111") {
        return cycle.Tick(Read(Sts(line1, line2, f9, flags1), gid, Win(digits)), recordAudio);
    }

    HitIntelTable table;
    SkipList skips;
    FakeClock clock;
    bool recordAudio = false;
    PollCycle cycle{table, skips, clock, "12-04-2026"};
};

TEST_F(PollCycleTest, AcceptedTickShowsDisplayIconsAndFrequencyAndOddGidOnlyTheDisplay) {
    TickOutcome out =
        Tick("County          ", "Dispatch \x82 1\x81", "1", Gid(), "01544300", "0" + std::string(14, '1'));
    ASSERT_TRUE(out.Accepted);
    EXPECT_EQ(out.Text1, "County          \r\nDispatch \x82 1\x81\r\n");
    EXPECT_EQ(out.FloatingTaskbar, " County/Dispatch1");
    EXPECT_EQ(out.Icons.Row1, " 1234567890ATT PRI KEYL BAT ");
    EXPECT_EQ(out.FreqBox, " 154.4300");
    EXPECT_TRUE(out.FreqBoxChanged);
    EXPECT_FALSE(Tick("County", "Dispatch", "1").FreqBoxChanged);
    // An odd GID shows the display only; a zero frequency keeps the box.
    out = Tick("Other", "Line", "0", "GID,,1,,a,b", "04600250");  // 6 fields
    EXPECT_EQ(out.Text1, "Other\r\nLine\r\n");
    EXPECT_EQ(out.FreqBox, " 154.4300");
    EXPECT_FALSE(cycle.Hit().HitActive);
    EXPECT_TRUE(out.Actions.empty());
    out = Tick("County", "Dispatch", "1", Gid(), "00000000");
    EXPECT_EQ(out.FreqBox, " 154.4300");
    EXPECT_FALSE(out.FreqBoxChanged);
    EXPECT_EQ(cycle.Values().RawFrequency, "00000000");
}

TEST_F(PollCycleTest, ReadsThatAreNotExactlyThreeRepliesAreDropped) {
    ASSERT_TRUE(Tick("County", "Dispatch", "1").Accepted);
    const std::string good = Read(Sts("Other", "Line", "0"), Gid(), Win("04600250"));
    for (const std::string& input : {
             good + "KEY,>,P\r",                                      // a fourth reply
             good.substr(0, good.size() - 1),                         // last reply incomplete
             Read("STS,a,b,c,d,e,f,g,h,i,0", Gid(), Win("04600250")),  // 11 fields
             Read(Sts("a", "b", "0") + ",x", Gid(), Win("04600250")),   // 13 fields
             std::string()}) {
        EXPECT_FALSE(cycle.Tick(input, false).Accepted) << input;
    }
    EXPECT_EQ(cycle.LastFrame()->DisplayLine1(), "County");
    EXPECT_EQ(cycle.Values().RawFrequency, "01544300");
    EXPECT_FALSE(cycle.Hit().HitActive);
    // Bytes after the third CR are the start of a later reply and are ignored.
    EXPECT_TRUE(cycle.Tick(good + "STS,par", false).Accepted);
}

TEST(FrequencyText, CleansAndPads) {
    const std::pair<std::string, std::string> cases[] = {
        {"01544750", " 154.4750"}, {"00000000", "    .0000"}, {"12400000", "1240.0000"},
        {"00270000", "  27.0000"}, {"OK015447", "   1.5447"}, {"KEY01544", "    .1544"},
        {"0154\r300", "  154.300"}, {"STS12345", "   1.2345"},  {"123", "  123.123"},
        {"", "        ."},
    };
    for (const auto& [raw, text] : cases) EXPECT_EQ(FrequencyText(raw), text) << raw;
}

TEST(StatusFrame, HitIndicatorIsComparedAsANumber) {
    for (const char* zero : {"0", " 0", "00", "0.0", "-0", "0 "}) EXPECT_TRUE(ShowsTransmission(zero)) << zero;
    for (const char* other : {"1", "", " ", "abc", "x0", "0.5", "10", "-"}) {
        EXPECT_FALSE(ShowsTransmission(other)) << other;
    }
}

TEST_F(PollCycleTest, ConventionalHitIsNamedFromTheDisplayAndLogged) {
    Tick("County          ", "Dispatch 1      ", "0");  // hit starts
    Tick("County          ", "Dispatch 1      ", "0");  // start time, channel, system
    Tick("Fire            ", "Dispatch 1  023Hz", "0", Gid(), "04600250");  // group, code
    EXPECT_EQ(cycle.Hit().FreqShown, " 154.4300");  // latched while the hit lasts
    clock.Now = "2:51:40 PM";
    const std::optional<HitEnded> ended = Ended(Tick("Scanning", "", "1"));
    ASSERT_TRUE(ended);
    EXPECT_EQ(ended->LogLine,
              "County / Fire\tDispatch 1\t 154.4300\t 023\t2:51:13 PM\t2:51:40 PM\t12-04-2026\r\n");
    EXPECT_FALSE(cycle.Hit().HitActive);
    // A single-tick hit is logged with an empty group.
    Tick("County", "Dispatch", "0");
    clock.Now = "3:00:00 PM";
    EXPECT_EQ(Ended(Tick("County", "Dispatch", "1"))->LogLine,
              "County / \tDispatch\t 154.4300\t\t3:00:00 PM\t3:00:00 PM\t12-04-2026\r\n");
}

TEST_F(PollCycleTest, PressAnyKeyIsDismissedEveryTickAndNeverAChannel) {
    EXPECT_TRUE(SentCommands(Tick("County", " Press Any Key  ", "0")).empty());  // not active yet
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(SentCommands(Tick("County", " Press Any Key  ", "0")), std::vector<std::string>{"KEY,E,P"});
    }
    EXPECT_TRUE(SentCommands(Tick("County", "Dispatch", "0")).empty());
    EXPECT_EQ(cycle.Hit().ChannelText, "Dispatch");
    Tick("County", "Dispatch", "1");  // Hold is never taken as a name either
    Tick("County", "Dispatch", "0");
    Tick("  Hold  Fire", "Dispatch", "0");
    EXPECT_FALSE(cycle.Hit().Line1Taken);
    Tick("County", "Dispatch", "0");
    Tick("Hold", "Dispatch", "0");
    EXPECT_EQ(cycle.Hit().SystemText, "County");
    EXPECT_FALSE(cycle.Hit().GroupTaken);
}

TEST_F(PollCycleTest, TrunkedHitShowsTheTalkgroupAndLogsIt) {
    const std::string gid = Gid("12345", "Metro Trunk", "Police", "North Ops");
    Tick("Metro", "North", "0");
    Tick("Metro", "North", "0");
    Tick("Metro", "North 1234", "0");  // a code is taken before the names arrive
    for (int i = 0; i < 2; ++i) EXPECT_EQ(Tick("Metro", "North Ops  CC12", "0", gid).FreqBox, "ID: 12345");
    const std::optional<HitEnded> ended = Ended(Tick("Metro", "North", "1", gid));
    ASSERT_TRUE(ended);
    EXPECT_EQ(ended->LogLine,
              "Metro Trunk / Police\tNorth Ops\t 154.4300\t12345\t2:51:13 PM\t2:51:13 PM\t12-04-2026\r\n");
    EXPECT_EQ(ended->Names.CodeText, "h 1234");
}

TEST_F(PollCycleTest, RecordingAndExtendedInfoStartOncePerHit) {
    recordAudio = true;
    for (int hit = 0; hit < 2; ++hit) {
        const TickOutcome first = Tick("County", "Dispatch", "0", Gid("77", "Sys"));
        ASSERT_EQ(first.Actions.size(), 2u);
        EXPECT_TRUE(std::holds_alternative<StartRecordingAction>(first.Actions[0]));
        const ExtendedInfoSource& source = std::get<ShowExtendedInfoAction>(first.Actions[1]).Source;
        EXPECT_EQ(std::tie(source.GidSystem, source.FreqShown, source.SystemText, source.TalkgroupId),
                  std::make_tuple("Sys", " 154.4300", "County", "77"));
        EXPECT_TRUE(Tick("County", "Dispatch", "0").Actions.empty());
        EXPECT_TRUE(Ended(Tick("County", "Dispatch", "1"))->StopRecording);
    }
}

TEST_F(PollCycleTest, EndOfHitReadsTheIconRowOfThePreviousTick) {
    Tick("County", "Dispatch", "0", Gid(), "01544300", std::string(15, '0'));
    const TickOutcome end = Tick("County", "Dispatch", "1");
    ASSERT_TRUE(Ended(end));
    EXPECT_EQ(Ended(end)->Names.GroupText, "Search");
    EXPECT_EQ(end.Icons.Row1.substr(0, 3), "SYS");
}

TEST_F(PollCycleTest, AutoSkipPressesEveryActiveTickAndTheHitIsNotLogged) {
    skips.SetEntry(0, "01544300");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(SentCommands(Tick("County", "Dispatch", "0")), std::vector<std::string>{"KEY,>,P"});
    }
    const TickOutcome end = Tick("County", "Dispatch", "1");
    ASSERT_EQ(end.Actions.size(), 1u);
    EXPECT_FALSE(Ended(end)->LogLine);
    EXPECT_EQ(cycle.Hit(), HitRecord{});
}

}  // namespace
}  // namespace quorvane
