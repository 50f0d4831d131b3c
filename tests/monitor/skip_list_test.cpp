#include "monitor/SkipList.h"

#include <gtest/gtest.h>

#include "monitor/PollCycle.h"
#include "monitor/PollInput.h"

namespace quorvane {
namespace {

using testing::FakeClock;
using testing::Gid;
using testing::Read;
using testing::Sts;
using testing::Win;

SkipList ListOf(std::initializer_list<const char*> entries) {
    SkipList list;
    size_t i = 0;
    for (const char* entry : entries) list.SetEntry(i++, entry);
    return list;
}

TEST(SkipList, EntryZeroEmptySwitchesItOff) {
    SkipList list = ListOf({"", "01544300", "12345"});
    EXPECT_FALSE(list.Enabled());
    EXPECT_EQ(list.SkipPresses("01544300", "12345", "ID:12345"), 0);
    list.SetEntry(0, "99");
    EXPECT_EQ(list.SkipPresses("01544300", "12345", "ID:12345"), 3);
}

TEST(SkipList, CountsEveryMatchOfEveryEntry) {
    const SkipList list = ListOf({"01544300", "12345", "777", "", "12345"});
    struct Case {
        const char* frequency;
        const char* talkgroup;
        const char* line2;
        int presses;
    };
    const Case cases[] = {
        {"01544300", "", "Dispatch", 1},
        {"04600250", "12345", "Dispatch", 2},  // listed twice
        {"04600250", "", "ID:777", 1},
        {"04600250", "", "ID:777:North", 1},
        {"04600250", "", "ID:12345", 2},
        {"04600250", "777", "ID:777", 2},
        {"04600250", "", " ID:777", 0},   // must start the line
        {"04600250", "", "id:777", 0},    // case-sensitive
        {"01544300 ", "1234", "ID:7", 0}, // whole-text comparison
        {"", "", "", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(list.SkipPresses(c.frequency, c.talkgroup, c.line2), c.presses)
            << c.frequency << "|" << c.talkgroup << "|" << c.line2;
    }
}

TEST(SkipList, OutOfRangeEntriesAreIgnored) {
    SkipList list;
    list.SetEntry(SkipList::kEntryCount, "x");
    EXPECT_EQ(list.Entry(SkipList::kEntryCount), "");
    list.SetEntry(SkipList::kEntryCount - 1, "5");
    list.SetEntry(0, "on");
    EXPECT_EQ(list.SkipPresses("", "5", ""), 1);
}

TEST(AutoSkip, PressesEveryActiveTickAndTheHitIsNotLoggedOrRecorded) {
    const HitIntelTable table;
    const SkipList list = ListOf({"01544300"});
    FakeClock clock;
    PollCycle cycle(table, list, clock, "12-04-2026");
    const std::string onListed = Read(Sts("County", "Dispatch", "0"), Gid(), Win("01544300"));
    for (int i = 0; i < 3; ++i) {
        const TickOutcome out = cycle.Tick(onListed, true);
        ASSERT_FALSE(out.Actions.empty());
        const auto* send = std::get_if<SendCommandAction>(&out.Actions[0]);
        ASSERT_NE(send, nullptr);
        EXPECT_EQ(send->Text, "KEY,>,P");
        for (const TickAction& action : out.Actions) {
            EXPECT_FALSE(std::holds_alternative<StartRecordingAction>(action));
        }
    }
    EXPECT_TRUE(cycle.Hit().SkipSent);
    const TickOutcome end = cycle.Tick(Read(Sts("County", "Dispatch", "1"), Gid(), Win("01544300")), true);
    ASSERT_EQ(end.Actions.size(), 1u);
    const auto& ended = std::get<HitEnded>(end.Actions[0]);
    EXPECT_FALSE(ended.LogLine.has_value());
    EXPECT_FALSE(ended.StopRecording);
    EXPECT_FALSE(cycle.Hit().SkipSent);
    EXPECT_FALSE(cycle.Hit().HitActive);
}

}  // namespace
}  // namespace quorvane
