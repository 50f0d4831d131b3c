#include "monitor/DisplayText.h"
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
    void Entries(const std::vector<const char*>& entries) {
        table = HitIntelTable{};
        size_t i = 0;
        for (const char* entry : entries) table.SetEntry(i++, entry);
    }

    HitIntelTable table;
    HitRecord hit;
    TickValues values;
};

TEST_F(EndHitTest, LookupsNameTheHit) {
    const char* const county = "01544300\tDispatch 1\tFire\tCounty";
    const char* const tac = "01544300\tTac 2\tPolice\tCity";
    struct Case {
        std::vector<const char*> entries;
        const char* system;
        const char* channel;
        const char* icons;
        const char* names;  // system|group|channel
    };
    const Case cases[] = {
        // A later entry on the same frequency wins.
        {{county, "04600250\tDispatch 1\tWrong\tWrong", "", "01544300\t  Dispatch 1 \tEMS\tCounty North",
          "01544300\tTac 2\tNot this\tNor this"},
         "County", "Dispatch 1  ", kSysLit, "County North|EMS|Dispatch 1"},
        // Holding takes names only from its own system; else only the group-only walk answers.
        {{county, tac}, " City ", "HOLDING", kSysLit, "City|Police|Tac 2"},
        {{county, tac}, "Town", "HOLDING", kSysLit, "Town|Police|HOLDING"},
        // The scan word in any rotation takes all names.
        {{county}, "", "SCAN", kSysDark, "County|Fire|Dispatch 1"},
        {{county}, "", "  SCAN          ", kSysDark, "County|Fire|Dispatch 1"},
        {{county}, "", "N            SCA", kSysDark, "County|Fire|Dispatch 1"},
        {{county}, "", "AN            SC", kSysDark, "County|Fire|Dispatch 1"},
        {{county}, "", "CAN            S", kSysDark, "County|Fire|Dispatch 1"},
        // Search only when a lookup found nothing and the system icon is dark.
        {{county}, "", "SCA N", kSysDark, "|Search|SCA N"},
        {{}, "", "Ch", kSysDark, "|Search|Ch"},
        {{}, "", "Ch", kSysLit, "||Ch"},
        {{}, "", "Ch", "", "|Search|Ch"},
        {{"01544300\tOther\tGrp\tSys"}, "Sys", "Ch", kSysDark, "Sys|Search|Ch"},  // channel differs
        {{"01544300\tOther\tGrp\tSys"}, "Sys", "Ch", kSysLit, "Sys|Grp|Ch"},      // the group-only walk
        // Short entries give what they have.
        {{"01544300", "01544300\tCh", "01544300\tCh\tGrp", "015443"}, "", "Ch", kSysDark, "|Grp|Ch"},
    };
    for (const Case& c : cases) {
        Entries(c.entries);
        const RecordingNames n = End(c.system, c.channel, c.icons).Names;
        EXPECT_EQ(n.SystemText + "|" + n.GroupText + "|" + n.ChannelText, c.names) << c.system << "|" << c.channel;
    }
    hit.GroupText = "Grp";
    EXPECT_EQ(End("Sys", "", kSysDark).Names.GroupText, "Grp");  // no lookup ran
}

TEST_F(EndHitTest, ToneMarksAreCleanedFromTheChannelAndTheToneKeepsItsUnit) {
    hit.GroupText = "G";
    hit.CodeText = "123.0Hz";
    const HitEnded ended = End("S", "Fire Hz  \x10 1");
    EXPECT_EQ(ended.Names.CodeText, "123.0Hz");
    EXPECT_EQ(ended.Names.ChannelText, "Fire  1");
}

TEST(ToneOrCodeText, TheWholeToneOrCodeAtTheEndOfLine2) {
    const std::pair<const char*, const char*> cases[] = {
        {"Disp  100.0Hz  \x10", "100.0Hz"}, {"Fire 1 127.3Hz", "127.3Hz"}, {"Dispatch 1  023Hz", "023Hz"},
        {"Fire  C023 DCS", "C023 DCS"},    {"North Ops  CC12", "CC12"},    {"North 1234", "1234"},
        {"Hz", "Hz"},                      {"", ""},
    };
    for (const auto& [line2, code] : cases) EXPECT_EQ(ToneOrCodeText(line2), code) << line2;
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
