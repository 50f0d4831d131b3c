#include "monitor/EndHit.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

constexpr const char* kSysLit = "SYS 1234567890";
constexpr const char* kSysDark = " 1234567890";

class EndHitTest : public ::testing::Test {
protected:
    // A hit on 154.4300 named system / channel; nothing else known.
    HitEnded End(const std::string& system, const std::string& channel, std::string_view icons = kSysLit,
                 bool recordAudio = false) {
        hit.HitActive = true;
        hit.SystemText = system;
        hit.ChannelText = channel;
        hit.FreqShown = " 154.4300";
        hit.StartTime = "2:51:13 PM";
        values.RawFrequency = "01544300";
        return EndHit(hit, values, HitEndContext{table, icons, recordAudio, "2:51:40 PM", "12-04-2026"});
    }
    void Entries(std::initializer_list<const char*> entries) {
        table = HitIntelTable{};
        size_t i = 0;
        for (const char* entry : entries) table.SetEntry(i++, entry);
    }

    HitIntelTable table;
    HitRecord hit;
    TickValues values;
};

TEST_F(EndHitTest, LaterEntryOnTheSameFrequencyWins) {
    Entries({"01544300\tDispatch 1\tFire\tCounty", "04600250\tDispatch 1\tWrong\tWrong", "",
             "01544300\t  Dispatch 1 \tEMS\tCounty North", "01544300\tTac 2\tNot this\tNor this"});
    EXPECT_EQ(End("County", "Dispatch 1  ").LogLine->substr(0, 35), "County North / EMS\tDispatch 1\t 154.");
}

TEST_F(EndHitTest, HoldingTakesNamesOnlyFromItsOwnSystem) {
    Entries({"01544300\tDispatch 1\tFire\tCounty", "01544300\tTac 2\tPolice\tCity"});
    const RecordingNames own = End(" City ", "HOLDING").Names;
    EXPECT_EQ(own.SystemText + "|" + own.GroupText + "|" + own.ChannelText, "City|Police|Tac 2");
    const RecordingNames other = End("Town", "HOLDING").Names;
    // Only the group-only second walk answers: the last entry's group.
    EXPECT_EQ(other.SystemText + "|" + other.GroupText + "|" + other.ChannelText, "Town|Police|HOLDING");
}

TEST_F(EndHitTest, ScanWordInAnyRotationTakesAllNames) {
    Entries({"01544300\tDispatch 1\tFire\tCounty"});
    for (const char* scan : {"SCAN", "  SCAN          ", "N            SCA", "AN            SC", "CAN            S"}) {
        const RecordingNames names = End("", scan, kSysDark).Names;
        EXPECT_EQ(names.SystemText + "|" + names.GroupText + "|" + names.ChannelText, "County|Fire|Dispatch 1") << scan;
    }
    EXPECT_EQ(End("", "SCA N", kSysDark).Names.GroupText, "Search");
}

TEST_F(EndHitTest, ToneMarksAreCleaned) {
    hit.GroupText = "G";
    hit.CodeText = "0Hz  \x10";
    EXPECT_EQ(End("S", "Fire Hz  \x10").Names.CodeText, "0");
    hit.GroupText = "G";
    hit.CodeText = "123Hz ";
    const HitEnded ended = End("S", "Fire Hz  \x10 1");
    EXPECT_EQ(ended.Names.CodeText, "123 ");
    EXPECT_EQ(ended.Names.ChannelText, "Fire  1");
}

TEST_F(EndHitTest, SearchOnlyWhenALookupFoundNothingAndTheSystemIconIsDark) {
    struct Case { const char* system; const char* icons; bool tableHasFrequency; const char* group; };
    const Case cases[] = {
        {"", kSysDark, false, "Search"},
        {"", kSysLit, false, ""},
        {"Sys", kSysDark, true, "Search"},  // the entry's channel differs: nothing found
        {"Sys", kSysLit, true, "Grp"},      // the group-only second walk
        {"", "", false, "Search"},
    };
    for (const Case& c : cases) {
        Entries({});
        if (c.tableHasFrequency) table.SetEntry(9, "01544300\tOther\tGrp\tSys");
        EXPECT_EQ(End(c.system, "Ch", c.icons).Names.GroupText, c.group) << c.system << "|" << c.icons;
    }
    hit.GroupText = "Grp";
    EXPECT_EQ(End("Sys", "", kSysDark).Names.GroupText, "Grp");  // no lookup ran
}

TEST_F(EndHitTest, ShortEntriesGiveWhatTheyHave) {
    Entries({"01544300", "01544300\tCh", "01544300\tCh\tGrp", "015443"});
    const RecordingNames names = End("", "Ch", kSysDark).Names;
    EXPECT_EQ(names.SystemText + "|" + names.GroupText + "|" + names.ChannelText, "|Grp|Ch");
}

TEST_F(EndHitTest, ResetClearsEverythingButRecordingAndFrequencyDigits) {
    hit = HitRecord{true, "S", "G", "C", "code", "f", true, "t1", "t2", true, true, true, true, true, false, true, true};
    values = {"77", "GS", "GG", "GT", "01544300"};
    const HitEnded ended = EndHit(hit, values, HitEndContext{table, kSysLit, true, "2:51:40 PM", "12-04-2026"});
    EXPECT_TRUE(ended.StopRecording);
    EXPECT_EQ(ended.Names.TalkgroupId, "77");
    // A trunked hit logs its talkgroup in the fifth field.
    EXPECT_EQ(ended.LogLine, "S / G\tC\tf\t77\tt1\t2:51:40 PM\t12-04-2026\r\n");
    EXPECT_EQ(hit, HitRecord{});
    EXPECT_EQ(values, (TickValues{"", "", "", "", "01544300"}));
}

}  // namespace
}  // namespace quorvane
