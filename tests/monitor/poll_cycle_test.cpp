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

// The hit reports of a tick: each HitStarted ("start") or HitRenamed ("rename").
std::vector<std::pair<std::string, LiveHit>> Reports(const TickOutcome& outcome) {
    std::vector<std::pair<std::string, LiveHit>> reports;
    for (const TickAction& action : outcome.Actions) {
        if (const auto* started = std::get_if<HitStarted>(&action)) reports.emplace_back("start", started->Hit);
        if (const auto* renamed = std::get_if<HitRenamed>(&action)) reports.emplace_back("rename", renamed->Hit);
    }
    return reports;
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
    EXPECT_FALSE(out.HitActive);
    // An odd GID shows the display only; a zero frequency keeps the box.
    out = Tick("Other", "Line", "0", "GID,,1,,a,b", "04600250");  // 6 fields
    EXPECT_EQ(out.Text1, "Other\r\nLine\r\n");
    EXPECT_EQ(out.FreqBox, " 154.4300");
    EXPECT_FALSE(out.HitActive);
    EXPECT_TRUE(out.Actions.empty());
    out = Tick("County", "Dispatch", "1", Gid(), "00000000");
    EXPECT_EQ(out.FreqBox, " 154.4300");
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
    // As a number read from its start: "0.0.5" is 0.0 and the rest is not read.
    for (const char* zero : {"0", " 0", "00", "0.0", "-0", "0 ", "0.0.5", "0..5"}) {
        EXPECT_TRUE(ShowsTransmission(zero)) << zero;
    }
    for (const char* other : {"1", "", " ", "abc", "x0", "0.5", "10", "-"}) {
        EXPECT_FALSE(ShowsTransmission(other)) << other;
    }
}

TEST_F(PollCycleTest, ConventionalHitIsNamedFromTheDisplayAndLogged) {
    auto reports = Reports(Tick("County          ", "Dispatch 1      ", "0"));  // hit starts
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].first, "start");
    EXPECT_EQ(reports[0].second, (LiveHit{"County", "", "Dispatch 1", "01544300", " 154.4300", "", false, false}));
    const TickOutcome same = Tick("County          ", "Dispatch 1      ", "0");
    EXPECT_TRUE(Reports(same).empty());  // names unchanged
    EXPECT_TRUE(same.HitActive);
    // The group learnt from line 1 is told once, in a rename.
    reports = Reports(Tick("Fire            ", "Dispatch 1  023Hz", "0", Gid(), "04600250"));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(std::tie(reports[0].first, reports[0].second.GroupText), std::make_tuple("rename", "Fire"));
    EXPECT_EQ(cycle.Hit().FreqShown, " 154.4300");  // latched while the hit lasts
    clock.Now = "2:51:40 PM";
    const TickOutcome over = Tick("Scanning", "", "1");
    const std::optional<HitEnded> ended = Ended(over);
    ASSERT_TRUE(ended);
    EXPECT_EQ(ended->LogLine,
              "County / Fire\tDispatch 1\t 154.4300\t023Hz\t2:51:13 PM\t2:51:40 PM\t12-04-2026\r\n");
    EXPECT_FALSE(over.HitActive);
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
    const TickOutcome named = Tick("Metro", "North Ops  CC12", "0", gid);
    EXPECT_EQ(named.FreqBox, "ID: 12345");
    const auto reports = Reports(named);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].second,
              (LiveHit{"Metro Trunk", "Police", "North Ops", "01544300", " 154.4300", "12345", true, false}));
    EXPECT_EQ(Tick("Metro", "North Ops  CC12", "0", gid).FreqBox, "ID: 12345");
    const std::optional<HitEnded> ended = Ended(Tick("Metro", "North", "1", gid));
    ASSERT_TRUE(ended);
    EXPECT_EQ(ended->LogLine,
              "Metro Trunk / Police\tNorth Ops\t 154.4300\t12345\t2:51:13 PM\t2:51:13 PM\t12-04-2026\r\n");
    EXPECT_EQ(ended->Names.CodeText, "1234");
}

TEST_F(PollCycleTest, RecordingAndExtendedInfoStartOncePerHit) {
    recordAudio = true;
    for (int hit = 0; hit < 2; ++hit) {
        const TickOutcome first = Tick("County", "Dispatch", "0", Gid("77", "Sys"));
        ASSERT_EQ(first.Actions.size(), 3u);
        EXPECT_TRUE(std::holds_alternative<StartRecordingAction>(first.Actions[0]));
        const ExtendedInfoSource& source = std::get<ShowExtendedInfoAction>(first.Actions[1]).Source;
        EXPECT_EQ(std::tie(source.GidSystem, source.FreqShown, source.SystemText, source.TalkgroupId),
                  std::make_tuple("Sys", " 154.4300", "County", "77"));
        EXPECT_EQ(std::get<HitStarted>(first.Actions[2]).Hit.TalkgroupId, "77");
        // A talkgroup ID that a later reply leaves out is no new name.
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
        const TickOutcome out = Tick("County", "Dispatch", "0");
        EXPECT_EQ(SentCommands(out), std::vector<std::string>{"KEY,>,P"});
        if (i == 0) {
            EXPECT_TRUE(Reports(out).at(0).second.Skipped);  // an alert has no business with it
        }
    }
    const TickOutcome end = Tick("County", "Dispatch", "1");
    ASSERT_EQ(end.Actions.size(), 1u);
    EXPECT_FALSE(Ended(end)->LogLine);
    EXPECT_EQ(cycle.Hit(), HitRecord{});
}

// The names a hit starts with: the talkgroup reply's, the display's (never
// "Hold" or the key prompt), completed from the table by frequency.
TEST_F(PollCycleTest, HitStartsWithTheBestNamesKnownOnItsFirstTick) {
    table.SetEntry(0, "01544300\tDispatch 1\tFire\tCounty Fire");
    table.SetEntry(1, "04600250\tJail\tSheriff\tCounty");
    const struct {
        const char *line1, *line2;
        std::string gid, digits;
        LiveHit names;
    } cases[] = {
        {"Metro", "ID:12345", Gid("12345", "Metro Trunk", "Police", "PD Disp"), "08561125",
         {"Metro Trunk", "Police", "PD Disp", "08561125", " 856.1125", "12345", true, false}},
        {"Harbor          ", "Harbor Ops      ", Gid(), "01566000",
         {"Harbor", "", "Harbor Ops", "01566000", " 156.6000", "", false, false}},
        {"County Fire", "Dispatch 1", Gid(), "01544300",
         {"County Fire", "Fire", "Dispatch 1", "01544300", " 154.4300", "", false, false}},
        {"Hold County", " Press Any Key  ", Gid(), "04600250",
         {"", "Sheriff", "", "04600250", " 460.0250", "", false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line2);
        const auto reports = Reports(Tick(c.line1, c.line2, "0", c.gid, c.digits));
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].first, "start");
        EXPECT_EQ(reports[0].second, c.names);
        EXPECT_TRUE(Reports(Tick(c.line1, c.line2, "1", c.gid, c.digits)).empty());  // the end reports nothing
    }
}

// WIN field 1 is the level of each tick; a hit keeps its peak and rounded mean
// over the ticks that saw the transmission (not the tick that ends it).
TEST_F(PollCycleTest, SignalLevelOfEachTickAndPeakAndAverageOfTheHit) {
    const struct {
        std::vector<std::string> levels;  // one per active tick, then the ending tick's
        std::optional<int> peak, average;
    } hits[] = {
        {{"100", "150", "201", "0"}, 201, 150},
        {{"7", "8", "255"}, 8, 8},                      // the ending tick's level is not the hit's
        {{"256", "-1", "", "12a", " 42", "0042", "42"}, std::nullopt, std::nullopt},  // none readable
        {{"x", "042", "9"}, 42, 42},                    // a garbled tick is left out
        {{"3"}, std::nullopt, std::nullopt},            // an idle tick has its level too
    };
    for (const auto& hit : hits) {
        SCOPED_TRACE(hit.levels.front());
        std::optional<HitEnded> ended;
        for (size_t i = 0; i < hit.levels.size(); ++i) {
            const bool last = i + 1 == hit.levels.size();
            const TickOutcome out = cycle.Tick(
                Read(Sts("County", "Dispatch", last ? "1" : "0"), Gid(), Win("01544300", hit.levels[i])), false);
            ASSERT_TRUE(out.Accepted);
            EXPECT_EQ(out.SignalLevel, ParseSignalLevel(hit.levels[i]));
            ended = Ended(out);
        }
        if (hit.levels.size() == 1) continue;
        ASSERT_TRUE(ended);
        EXPECT_EQ(ended->SignalPeak, hit.peak);
        EXPECT_EQ(ended->SignalAverage, hit.average);
    }
    for (const auto& [field, level] : std::vector<std::pair<std::string, std::optional<int>>>{
             {"0", 0}, {"255", 255}, {"256", std::nullopt}, {"1000", std::nullopt}, {"", std::nullopt},
             {"\x82", std::nullopt}}) {
        EXPECT_EQ(ParseSignalLevel(field), level) << field;
    }
    // A WIN reply of another length reads no level, though the display still shows.
    EXPECT_FALSE(cycle.Tick(Read(Sts("A", "B", "1"), Gid(), "WIN,90"), false).SignalLevel);
}

}  // namespace
}  // namespace quorvane
