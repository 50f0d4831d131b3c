#include "monitor/EndHit.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

constexpr const char* kSysLit = "SYS 1234567890";
constexpr const char* kSysDark = " 1234567890";

class EndHitTest : public ::testing::Test {
protected:
    void SetUp() override {
        hit.HitActive = true;
        hit.FreqShown = " 154.4300";
        hit.StartTime = "2:51:13 PM";
        values.RawFrequency = "01544300";
    }

    HitEnded End(std::string_view iconsSet1 = kSysLit, bool recordAudio = false) {
        return EndHit(hit, values, HitEndContext{table, iconsSet1, recordAudio, "2:51:40 PM", "12-04-2026"});
    }

    HitIntelTable table;
    HitRecord hit;
    TickValues values;
};

TEST_F(EndHitTest, LogLineHasTheSevenFieldsInOrder) {
    hit.SystemText = "County  ";
    hit.GroupText = " Fire";
    hit.ChannelText = " Dispatch 1 ";
    const HitEnded ended = End();
    EXPECT_EQ(ended.LogLine,
              "County / Fire\tDispatch 1\t 154.4300\t\t2:51:13 PM\t2:51:40 PM\t12-04-2026\r\n");
}

TEST_F(EndHitTest, EmptyGroupLeavesTheSeparatorBeforeTheTab) {
    hit.SystemText = "System";
    hit.ChannelText = "Channel";
    EXPECT_EQ(End().LogLine->substr(0, 10), "System / \t");
}

TEST_F(EndHitTest, LaterEntryOnTheSameFrequencyWins) {
    table.SetEntry(0, "01544300\tDispatch 1\tFire\tCounty");
    table.SetEntry(1, "04600250\tDispatch 1\tWrong\tWrong");
    table.SetEntry(3, "01544300\t  Dispatch 1 \tEMS\tCounty North");
    table.SetEntry(4, "01544300\tTac 2\tNot this\tNor this");
    hit.SystemText = "County";
    hit.ChannelText = "Dispatch 1  ";
    const HitEnded ended = End();
    EXPECT_EQ(ended.LogLine->substr(0, 35), "County North / EMS\tDispatch 1\t 154.");
}

TEST_F(EndHitTest, HoldingTakesNamesOnlyFromItsOwnSystem) {
    table.SetEntry(0, "01544300\tDispatch 1\tFire\tCounty");
    table.SetEntry(1, "01544300\tTac 2\tPolice\tCity");
    hit.SystemText = " City ";
    hit.ChannelText = "HOLDING";
    const HitEnded ended = End();
    EXPECT_EQ(ended.Names.SystemText, "City");
    EXPECT_EQ(ended.Names.GroupText, "Police");
    EXPECT_EQ(ended.Names.ChannelText, "Tac 2");

    hit.HitActive = true;
    hit.SystemText = "Town";
    hit.ChannelText = "HOLDING";
    const HitEnded none = End(kSysLit);
    EXPECT_EQ(none.Names.SystemText, "Town");
    EXPECT_EQ(none.Names.ChannelText, "HOLDING");
    EXPECT_EQ(none.Names.GroupText, "Police");  // the group-only second walk
}

TEST_F(EndHitTest, ScanWordInAnyRotationTakesAllNames) {
    for (const char* scan : {"SCAN", "  SCAN          ", "N            SCA", "AN            SC",
                             "CAN            S"}) {
        table.SetEntry(0, "01544300\tDispatch 1\tFire\tCounty");
        hit = HitRecord{};
        hit.ChannelText = scan;
        const HitEnded ended = End(kSysDark);
        EXPECT_EQ(ended.Names.SystemText, "County") << scan;
        EXPECT_EQ(ended.Names.GroupText, "Fire") << scan;
        EXPECT_EQ(ended.Names.ChannelText, "Dispatch 1") << scan;
    }
    hit = HitRecord{};
    hit.ChannelText = "SCA N";
    EXPECT_EQ(End(kSysDark).Names.GroupText, "Search");
}

TEST_F(EndHitTest, ToneMarksAreCleaned) {
    hit.SystemText = "S";
    hit.GroupText = "G";
    hit.ChannelText = "Fire Hz  \x10";
    hit.CodeText = "0Hz  \x10";
    EXPECT_EQ(End().Names.CodeText, "0");
    hit.SystemText = "S";
    hit.GroupText = "G";
    hit.CodeText = "123Hz ";
    hit.ChannelText = "Fire Hz  \x10 1";
    const HitEnded ended = End();
    EXPECT_EQ(ended.Names.CodeText, "123 ");
    EXPECT_EQ(ended.Names.ChannelText, "Fire  1");
}

TEST_F(EndHitTest, SearchOnlyWhenALookupFoundNothingAndTheSystemIconIsDark) {
    struct Case {
        const char* system;
        const char* icons;
        bool tableHasFrequency;
        const char* group;
    };
    const Case cases[] = {
        {"", kSysDark, false, "Search"},
        {"", kSysLit, false, ""},
        {"Sys", kSysDark, true, "Search"},  // the entry's channel differs: nothing found
        {"Sys", kSysLit, true, "Grp"},      // the group-only second walk
        {"", "", false, "Search"},
    };
    for (const Case& c : cases) {
        table = HitIntelTable{};
        if (c.tableHasFrequency) table.SetEntry(9, "01544300\tOther\tGrp\tSys");
        hit = HitRecord{};
        hit.SystemText = c.system;
        hit.ChannelText = "Ch";
        EXPECT_EQ(End(c.icons).Names.GroupText, c.group) << c.system << "|" << c.icons;
    }
    hit = HitRecord{};
    hit.SystemText = "Sys";
    hit.GroupText = "Grp";
    EXPECT_EQ(End(kSysDark).Names.GroupText, "Grp");  // no lookup ran
}

TEST_F(EndHitTest, ShortEntriesGiveWhatTheyHave) {
    table.SetEntry(0, "01544300");
    table.SetEntry(1, "01544300\tCh");
    table.SetEntry(2, "01544300\tCh\tGrp");
    table.SetEntry(3, "015443");
    hit.ChannelText = "Ch";
    const HitEnded ended = End(kSysDark);
    EXPECT_EQ(ended.Names.SystemText, "");
    EXPECT_EQ(ended.Names.GroupText, "Grp");
    EXPECT_EQ(ended.Names.ChannelText, "Ch");
}

TEST_F(EndHitTest, SkippedHitIsResetButNotLogged) {
    hit.SystemText = "S";
    hit.SkipSent = true;
    hit.Recording = true;
    const HitEnded ended = End(kSysLit, true);
    EXPECT_FALSE(ended.LogLine);
    EXPECT_FALSE(ended.StopRecording);
    HitRecord idleStillRecording;
    idleStillRecording.Recording = true;
    EXPECT_EQ(hit, idleStillRecording);
}

TEST_F(EndHitTest, ResetClearsEverythingButRecordingAndFrequencyDigits) {
    hit = HitRecord{true, "S", "G", "C", "code", "f", true, "t1", "t2", true, true, true, true, true, false, true, true};
    values = {"77", "GS", "GG", "GT", "01544300"};
    const HitEnded ended = End(kSysLit, true);
    EXPECT_TRUE(ended.StopRecording);
    EXPECT_EQ(ended.Names.TalkgroupId, "77");
    EXPECT_EQ(ended.Names.EndTime, "2:51:40 PM");
    EXPECT_EQ(ended.LogLine, "S / G\tC\tf\t77\tt1\t2:51:40 PM\t12-04-2026\r\n");
    EXPECT_EQ(hit, HitRecord{});
    EXPECT_EQ(values, (TickValues{"", "", "", "", "01544300"}));
}

}  // namespace
}  // namespace quorvane
