#include <gtest/gtest.h>

#include "memory/ChannelCsv.h"
#include "memory/MemoryTestData.h"
#include "memory/WritePlan.h"

namespace quorvane {
namespace {

using Commands = std::vector<std::string>;

ScannerMemory Imported(const ScannerMemory& into, const std::string& csv, std::optional<GroupAt> selected = {}) {
    std::string problem;
    const std::optional<ChannelImport> result = ReadChannelsCsv(into, csv, "c.csv", selected, &problem);
    EXPECT_TRUE(result) << problem;
    return result ? result->memory : into;
}

std::string Replace(std::string text, const std::string& what, const std::string& with) {
    const std::size_t at = text.find(what);
    EXPECT_NE(at, std::string::npos) << what;
    return at == std::string::npos ? text : text.replace(at, what.size(), with);
}

TEST(ChannelCsv, AnExportReadBackChangesNothingAndAnEditedCellIsOneSet) {
    const ScannerMemory memory = test::SmallMemory();
    const std::string csv = WriteChannelsCsv(memory);
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "system,group,name,frequency,step,modulation,tone,toneLockout,lockout,priority,attenuation,alert");
    EXPECT_NE(csv.find("\r\nCounty,Fire,Disp,154.4300,0,NFM,0,false,false,false,false,false\r\n"), std::string::npos);
    EXPECT_EQ(csv.find("Metro"), std::string::npos);  // talkgroups are not channels

    EXPECT_EQ(PlanCommands(PlanWrite(memory, Imported(memory, csv))), Commands{});
    const std::string edited = Replace(Replace(csv, "Tac,154.2800", "Tac 2,154.2900"), "EMS,155.3400,0,NFM,0,false",
                                       "EMS,155.3400,0,nfm,0,TRUE");
    EXPECT_EQ(PlanCommands(PlanWrite(memory, Imported(memory, edited))),
              (Commands{"CIN,112,Tac 2,01542900,,,,,,,,", "CIN,113,,,,,,1,,,,"}));
}

TEST(ChannelCsv, CellsASpreadsheetWouldRunAreGuardedAndComeBackAsTheyWere) {
    ScannerMemory memory = test::SmallMemory();
    auto& fire = memory.systems[0].groups[0].channels;
    fire[0].fields[channel_field::Name] = "=1+2";
    fire[1].fields[channel_field::Name] = "-Tac \"2\"";
    fire[2].fields[channel_field::Name] = "@EMS \x82";
    const std::string csv = WriteChannelsCsv(memory);
    EXPECT_NE(csv.find("Fire,'=1+2,"), std::string::npos);
    EXPECT_NE(csv.find("Fire,\"'-Tac \"\"2\"\"\","), std::string::npos);
    EXPECT_NE(csv.find("Fire,'@EMS \u201A,"), std::string::npos);
    EXPECT_EQ(WithoutIndexes(Imported(memory, csv)), WithoutIndexes(memory));
}

TEST(ChannelCsv, RowsReplaceTheChannelsOfTheGroupsTheyNameOrOfTheSelectedGroup) {
    const ScannerMemory memory = test::SmallMemory();
    // Named groups: Sheriff's channels are replaced, "New" is made in a new system, Fire stays.
    ScannerMemory named = Imported(memory, "Name,Frequency,System,Group\n"
                                           "A,155.1,County,Sheriff\r\n\r\n"
                                           "B,155.2,Harbor,New\n"
                                           "C,155.3,County,Sheriff\n");
    ASSERT_EQ(named.systems.size(), 3u);
    EXPECT_EQ(named.systems[0].groups[0], memory.systems[0].groups[0]);
    ASSERT_EQ(named.systems[0].groups[1].channels.size(), 2u);
    EXPECT_EQ(named.systems[0].groups[1].channels[1].fields,
              (Fields{"C", "01553000", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(named.systems[2].type, "CNV");
    EXPECT_EQ(named.systems[2].groups.at(0).fields[group_field::Name], "New");

    // No system and group: the selected group.
    const ScannerMemory selected = Imported(memory, "\xEF\xBB\xBFname,frequency\nX,154.1\n", GroupAt{0, 0});
    ASSERT_EQ(selected.systems[0].groups[0].channels.size(), 1u);
    EXPECT_EQ(selected.systems[0].groups[0].channels[0].fields[channel_field::Frequency], "01541000");
    EXPECT_EQ(selected.systems[0].groups[1], memory.systems[0].groups[1]);
}

TEST(ChannelCsv, AProblemNamesItsLineAndColumnAndImportsNothing) {
    const struct {
        std::string csv;
        std::optional<GroupAt> selected;
        std::string problem;
    } table[] = {
        {"", {}, "c.csv: line 1: there is no header row"},
        {"name,freq\n", {}, "c.csv: line 1: column \"freq\" is not one of system, group, name, frequency,"},
        {"name,name,frequency\n", {}, "c.csv: line 1: column \"name\" is there twice"},
        {"name,tone\n", {}, "c.csv: line 1: there is no \"frequency\" column"},
        {"name,frequency\nA,154.1\n", {}, "c.csv: line 2: the row names no system and group, and no group"},
        {"name,frequency\nA,154.1\n", GroupAt{1, 0}, "c.csv: line 2: the row names no system and group"},
        {"name,frequency\nA,154.1,x\n", GroupAt{0, 0}, "c.csv: line 2: the row has 3 cells, the header 2"},
        {"name,frequency\r\n\r\nA,154.1\r\n\nC,600\n", GroupAt{0, 0},
         "c.csv: line 5: frequency 600.0000 is outside the scanner's bands"},
        {"name,frequency\nA,154.1 MHz\n", GroupAt{0, 0}, "c.csv: line 2: frequency \"154.1 MHz\" is not MHz text"},
        {"name,frequency\nA,\n", GroupAt{0, 0}, "c.csv: line 2: frequency is missing"},
        {"name,frequency\nSeventeen letters,154.1\n", GroupAt{0, 0}, "c.csv: line 2: name \"Seventeen letters\" has 17"},
        {"name,frequency,lockout\nA,154.1,maybe\n", GroupAt{0, 0}, "c.csv: line 2: lockout \"maybe\" is not true"},
        {"name,frequency,tone\nA,154.1,65000\n", GroupAt{0, 0}, "c.csv: line 2: tone 65000 is not a CTCSS/DCS code"},
        {"name,frequency\n\xE2\x98\x83,154.1\n", GroupAt{0, 0}, "c.csv: line 2: name holds U+2603"},
        {"system,group,name,frequency\nMetro,Police,A,154.1\n", {}, "c.csv: line 2: system \"Metro\" is a trunked"},
        {"system,group,name,frequency\nCounty,,A,154.1\n", {}, "c.csv: line 2: a channel needs both a system"},
        {"name,frequency\n\"A,154.1\n", GroupAt{0, 0}, "c.csv: line 2: a quoted cell has no closing quote"},
        {"name,frequency\n\"A\"B,154.1\n", GroupAt{0, 0}, "c.csv: line 2: a quoted cell goes on after"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.csv);
        std::string problem;
        EXPECT_FALSE(ReadChannelsCsv(test::SmallMemory(), row.csv, "c.csv", row.selected, &problem));
        EXPECT_EQ(problem.substr(0, row.problem.size()), row.problem);
    }
}

// A frequency table as radio-listener databases export it goes into the
// selected system, a group per Tag, with tones and modes in their words.
TEST(ChannelCsv, ADatabaseFrequencyTableGoesIntoTheChosenSystemAGroupPerTag) {
    const ScannerMemory memory = test::SmallMemory();
    const std::string header =
        "Frequency Output,Frequency Input,FCC Callsign,Agency/Category,Description,Alpha Tag,PL Tone,Mode,"
        "Class Station Use,Tag\r\n";
    const ScannerMemory imported =
        Imported(memory,
                 header + "154.4300,,KA1234,County Fire,Fire Dispatch,Fire Disp,CSQ,FM,BM,Fire Dispatch\r\n"
                          "155.1000,,,County,EMS Main,EMS Main,100.0 PL,FMN,BM,EMS\r\n"
                          "460.0250,,,County,Sheriff,SO Tac,023 DPL,NFM,BM,\r\n"
                          "460.0500,,,County,Sheriff 2,SO Tac 2,D023N,AM,BM,\r\n",
                 GroupAt{0, 1});
    ASSERT_EQ(imported.systems.size(), 2u);
    const std::vector<Group>& groups = imported.systems[0].groups;
    ASSERT_EQ(groups.size(), 4u);  // Fire, Sheriff, and the two Tags
    EXPECT_EQ(groups[0], memory.systems[0].groups[0]);
    EXPECT_EQ(groups[2].fields[group_field::Name], "Fire Dispatch");
    EXPECT_EQ(groups[2].channels.at(0).fields,
              (Fields{"Fire Disp", "01544300", "", "FM", "0", "", "", "", "", ""}));
    EXPECT_EQ(groups[3].fields[group_field::Name], "EMS");
    EXPECT_EQ(groups[3].channels.at(0).fields[channel_field::Tone], "76");
    EXPECT_EQ(groups[3].channels.at(0).fields[channel_field::Modulation], "NFM");
    ASSERT_EQ(groups[1].channels.size(), 2u);  // no Tag: the selected group
    EXPECT_EQ(groups[1].channels[0].fields[channel_field::Tone], "128");
    EXPECT_EQ(groups[1].channels[1].fields[channel_field::Modulation], "AM");

    const struct {
        std::string row;
        std::optional<GroupAt> selected;
        std::string problem;
    } bad[] = {
        {"154.4300,,,,,Disp,CSQ,P25,,Fire\r\n", GroupAt{0, 0},
         "c.csv: line 2: Mode \"P25\" is not a modulation (Auto, AM, FM or NFM)"},
        {"154.4300,,,,,Disp,67.1 PL,FM,,Fire\r\n", GroupAt{0, 0},
         "c.csv: line 2: Tone \"67.1 PL\" is not a tone: a CTCSS tone in Hz (67.0), a DCS code (DCS 023, D023), "
         "None or Search"},
        {"154.4300,,,,,Disp,CSQ,FM,,Fire\r\n", std::nullopt,
         "c.csv: line 2: choose a group of the conventional system the channels go into first"},
        {"154.4300,,,,,Disp,CSQ,FM,,Fire\r\n", GroupAt{1, 0},
         "c.csv: line 2: choose a group of the conventional system the channels go into first"},
        {"154.4300,,,,,,CSQ,FM,,Fire\r\n", GroupAt{0, 0}, "c.csv: line 2: Alpha Tag is empty"},
    };
    for (const auto& row : bad) {
        SCOPED_TRACE(row.row);
        std::string problem;
        EXPECT_FALSE(ReadChannelsCsv(memory, header + row.row, "c.csv", row.selected, &problem));
        EXPECT_EQ(problem, row.problem);
    }
}

}  // namespace
}  // namespace quorvane
