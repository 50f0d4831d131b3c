
#include <gtest/gtest.h>

#include "memory/MemoryTestData.h"
#include "memory/MemoryValidation.h"

namespace quorvane {
namespace {

TEST(MemoryValidation, EachKindOfBadMemoryIsOneLineNamingFilePlaceAndField) {
    using Edit = std::function<void(ScannerMemory&)>;
    const std::string disp = "f.json: system 1 \"County\" group 1 \"Fire\" channel 1 \"Disp\": ";
    const auto channel = [](ScannerMemory& m) -> Fields& { return m.systems[0].groups[0].channels[0].fields; };
    const struct {
        Edit edit;
        std::string problem;
    } table[] = {
        {[](ScannerMemory& m) { m.model = "BC246X"; }, "f.json: model \"BC246X\" is not BC246T"},
        {[&](ScannerMemory& m) { channel(m)[channel_field::Name] = "Dispatch Channel1"; },
         "f.json: system 1 \"County\" group 1 \"Fire\" channel 1 \"Dispatch Channel1\": name \"Dispatch Channel1\" "
         "has 17 characters; the scanner holds 16"},
        {[&](ScannerMemory& m) { m.systems[0].groups[0].fields[group_field::Name] = "Fire,EMS"; },
         "f.json: system 1 \"County\" group 1 \"Fire,EMS\": name \"Fire,EMS\" holds a comma, which the scanner's "
         "commands cannot carry"},
        {[&](ScannerMemory& m) { channel(m)[channel_field::Frequency] = "06000000"; },
         disp + "frequency 600.0000 is outside the scanner's bands (25.0000-54.0000, 108.0000-174.0000"},
        {[&](ScannerMemory& m) { channel(m)[channel_field::Frequency] = "08300000"; },
         disp + "frequency 830.0000 is outside the scanner's bands"},
        {[&](ScannerMemory& m) { channel(m)[channel_field::Frequency] = "01544310"; },
         disp + "frequency 154.4310 is off the scanner's 2.5 kHz raster"},
        {[&](ScannerMemory& m) { channel(m)[channel_field::Name] = "Di\x07sp"; },
         // shown as its glyph (U+2407)
         "f.json: system 1 \"County\" group 1 \"Fire\" channel 1 \"Di\xE2\x90\x87sp\": name \"Di\xE2\x90\x87sp\" holds a "
         "control byte"},
        {[](ScannerMemory& m) { m.systems[1].type = "P25"; },
         "f.json: system 2 \"Metro\": type \"P25\" is not a system type the scanner knows (CNV, M82S"},
        {[&](ScannerMemory& m) { channel(m)[channel_field::Tone] = "5"; },
         disp + "tone 5 is not a CTCSS/DCS code"},
        {[&](ScannerMemory& m) { channel(m)[channel_field::Modulation] = "USB"; },
         disp + "modulation \"USB\" is not a modulation (AUTO, FM, NFM or AM)"},
        {[&](ScannerMemory& m) { channel(m)[channel_field::Step] = "300"; },
         disp + "step 300 is not a step the scanner knows"},
        {[](ScannerMemory& m) { m.systems[0].fields[system_field::HoldTime] = "300"; },
         "f.json: system 1 \"County\": holdTime 300 is outside 0 to 255"},
        {[](ScannerMemory& m) { m.systems[0].fields[system_field::QuickKey] = "A"; },
         "f.json: system 1 \"County\": quickKey \"A\" is not a quick key"},
        {[](ScannerMemory& m) { m.systems[1].trunk[trunk_field::CustomFleetMap] = "12"; },
         "f.json: system 2 \"Metro\" trunk: customFleetMap \"12\" is not a fleet map"},
        {[](ScannerMemory& m) { m.systems[1].trunk[trunk_field::FirstBand + 2] = "2000"; },
         "f.json: system 2 \"Metro\" trunk: bands 1 offset 2000 is outside 0 to 1023"},
        {[](ScannerMemory& m) { m.systems[1].groups[0].talkgroups[0].fields[talkgroup_field::Tgid] = "12a"; },
         "f.json: system 2 \"Metro\" group 1 \"Police\" talkgroup 1 \"PD\": tgid \"12a\" is not a talkgroup ID"},
        {[](ScannerMemory& m) { m.systems[1].groups[0].talkgroups[0].fields[talkgroup_field::Tgid] = ""; },
         "f.json: system 2 \"Metro\" group 1 \"Police\" talkgroup 1 \"PD\": tgid is missing"},
        {[](ScannerMemory& m) { m.systems[1].sites[0].frequencies[0].fields[0] = "09700000"; },
         "f.json: system 2 \"Metro\" site 1 \"North\" frequency 1: frequency 970.0000 is outside"},
        {[](ScannerMemory& m) { m.systems[0].groups[0].type = kTalkgroupGroupType; },
         "f.json: system 1 \"County\" group 1 \"Fire\": a conventional system's groups hold channels, not talkgroups"},
        {[](ScannerMemory& m) { m.systems[1].groups[0].type = kChannelGroupType; },
         "f.json: system 2 \"Metro\" group 1 \"Police\": a trunked system's groups hold talkgroups, not channels"},
        {[](ScannerMemory& m) { m.systems[0].trunk[trunk_field::IdSearch] = "1"; },
         "f.json: system 1 \"County\": trunk settings belong to trunked systems only"},
        {[](ScannerMemory& m) { m.systems[1].bandPlan[0] = "08510000"; },
         "f.json: system 2 \"Metro\": a band plan belongs to the custom types M82C and M81C only"},
        {[](ScannerMemory& m) { m.systems[0].sites.push_back(m.systems[1].sites[0]); },
         "f.json: system 1 \"County\": sites belong to trunked systems only"},
        {[](ScannerMemory& m) { m.systems[0].groupQuickKeys = "1012101010"; },
         "f.json: system 1 \"County\": groupQuickKeys \"1012101010\" is not ten digits 0 (off) or 1 (on)"},
        {[](ScannerMemory& m) { m.systems[1].groupQuickKeys = "10101"; },
         "f.json: system 2 \"Metro\": groupQuickKeys \"10101\" is not ten digits"},
        {[](ScannerMemory& m) { m.systems[0].lockedIds = {"100"}; },
         "f.json: system 1 \"County\": lockedIds: a conventional system has no talkgroup IDs to lock out"},
        {[](ScannerMemory& m) { m.systems[1].lockedIds = {"100", "65536"}; },
         "f.json: system 2 \"Metro\": lockedIds \"65536\" is beyond 65535, the largest Motorola talkgroup ID"},
        {[](ScannerMemory& m) { m.systems[1].lockedIds = {"1 2"}; },
         "f.json: system 2 \"Metro\": lockedIds \"1 2\" is not a talkgroup ID"},
        {[](ScannerMemory& m) { m.systems[1].type = "EDW", m.systems[1].lockedIds = {"2048"}; },
         "f.json: system 2 \"Metro\": lockedIds \"2048\" is beyond 2047, the largest EDACS ID"},
        {[](ScannerMemory& m) { m.systems[1].type = "EDN", m.systems[1].lockedIds = {"01-068"}; },
         "f.json: system 2 \"Metro\": lockedIds \"01-068\" is not agency-fleet-subfleet"},
        {[](ScannerMemory& m) { m.systems[1].type = "LTR", m.systems[1].lockedIds = {"121001"}; },
         "f.json: system 2 \"Metro\": lockedIds \"121001\" is not an LTR ID AHHUUU"},
        {[](ScannerMemory& m) { m.systems[1].type = "LTR", m.systems[1].sites[0].frequencies[0].fields[1] = "31"; },
         "f.json: system 2 \"Metro\" site 1 \"North\" frequency 1: lcn 31 is outside 0 to 30, the LCNs of an LTR "
         "system"},
        {[](ScannerMemory& m) { m.systems[1].type = "EDW", m.systems[1].sites[0].frequencies[0].fields[1] = "40"; },
         "f.json: system 2 \"Metro\" site 1 \"North\" frequency 1: lcn 40 is outside 0 to 30, the LCNs of an "
         "EDACS system"},
        {[](ScannerMemory& m) { m.systems[1].sites[0].frequencies[0].fields[1] = "100"; },
         "f.json: system 2 \"Metro\" site 1 \"North\" frequency 1: lcn 100 is outside 0 to 99"},
    };
    // What any reading of the documents allows a real scanner to hold.
    const Edit taken[] = {
        [](ScannerMemory& m) { m.systems[0].groupQuickKeys = "0000000001", m.systems[1].lockedIds = {"65535", "1-2"}; },
        [](ScannerMemory& m) { m.systems[1].type = "EDN", m.systems[1].lockedIds = {"2047", "15-157", "0"}; },
        [](ScannerMemory& m) { m.systems[1].type = "LTR", m.systems[1].lockedIds = {"120254", "001000", "12"}; },
        [](ScannerMemory& m) { m.systems[1].type = "LTR", m.systems[1].sites[0].frequencies[0].fields[1] = "30"; },
        [](ScannerMemory& m) { m.systems[1].type = "EDW", m.systems[1].sites[0].frequencies[0].fields[1] = "0"; },
        [](ScannerMemory& m) { m.systems[1].type = "EDS", m.systems[1].sites[0].frequencies[0].fields[1] = "99"; },
        [](ScannerMemory& m) { m.systems[1].sites[0].frequencies[0].fields[1] = "45"; },  // Motorola ignores it
    };
    for (const Edit& edit : taken) {
        ScannerMemory memory = test::SmallMemory();
        edit(memory);
        EXPECT_EQ(ValidateMemory(memory, "f.json"), std::vector<std::string>{});
    }
    EXPECT_EQ(ValidateMemory(test::SmallMemory(), "f.json"), std::vector<std::string>{});
    for (const auto& row : table) {
        ScannerMemory memory = test::SmallMemory();
        row.edit(memory);
        const std::vector<std::string> problems = ValidateMemory(memory, "f.json");
        ASSERT_EQ(problems.size(), 1u) << row.problem;
        EXPECT_EQ(problems[0].substr(0, row.problem.size()), row.problem);
    }
}

}  // namespace
}  // namespace quorvane
