
#include <gtest/gtest.h>

#include "memory/MemoryTestData.h"
#include "memory/WritePlan.h"

namespace quorvane {
namespace {

using Commands = std::vector<std::string>;

TEST(WritePlan, AnEditedTreeBecomesTheFewestCommands) {
    using Edit = std::function<void(ScannerMemory&)>;
    const auto fire = [](ScannerMemory& m) -> std::vector<Channel>& { return m.systems[0].groups[0].channels; };
    const struct {
        const char* what;
        Edit edit;
        Commands commands;
    } table[] = {
        {"nothing", [](ScannerMemory&) {}, {}},
        {"rename a channel", [&](ScannerMemory& m) { fire(m)[1].fields[channel_field::Name] = "Tac 2"; },
         {"CIN,112,Tac 2,,,,,,,,,"}},
        {"clear a name", [&](ScannerMemory& m) { fire(m)[1].fields[channel_field::Name] = ""; },
         {"CIN,112, ,,,,,,,,,"}},
        {"edit a field", [&](ScannerMemory& m) { fire(m)[0].fields[channel_field::Tone] = "72"; },
         {"CIN,111,,,,,72,,,,,"}},
        {"rename a system", [](ScannerMemory& m) { m.systems[1].fields[system_field::Name] = "Metro 2"; },
         {"SIN,200,Metro 2,,,,,,,"}},
        {"add a channel", [&](ScannerMemory& m) { fire(m).push_back(test::Ch("", "New", "01545000")); },
         {"ACC,110", "CIN,#1,New,01545000,0,NFM,0,0,0,0,0,0"}},
        {"add a talkgroup",
         [](ScannerMemory& m) { m.systems[1].groups[0].talkgroups.push_back(test::Tg("", "FD", "2417")); },
         {"ACT,220", "TIN,#1,FD,2417,0,0"}},
        {"add a group",
         [](ScannerMemory& m) { m.systems[0].groups.push_back(test::Grp("", "Port", {test::Ch("", "Ops", "01566000")})); },
         {"AGC,100", "GIN,#1,Port,.,0", "ACC,#1", "CIN,#2,Ops,01566000,0,NFM,0,0,0,0,0,0"}},
        {"add a system",
         [](ScannerMemory& m) { m.systems.push_back(test::Sys("", "LTR", "Taxi", {test::TgGrp("", "All", {})})); },
         {"CSY,LTR", "SIN,#1,Taxi,.,2,0,0,2,0,0", "TRN,#1,0,0,0,0,0,0,0,00000000,,,,,,,,,", "AGT,#1",
          "GIN,#2,All,.,0"}},
        {"delete a channel", [&](ScannerMemory& m) { fire(m).erase(fire(m).begin() + 1); }, {"DCH,112"}},
        {"delete a talkgroup", [](ScannerMemory& m) { m.systems[1].groups[0].talkgroups.clear(); }, {"DCH,221"}},
        {"delete a trunk frequency", [](ScannerMemory& m) { m.systems[1].sites[0].frequencies.clear(); }, {"DCH,211"}},
        {"delete a group", [](ScannerMemory& m) { m.systems[0].groups.pop_back(); }, {"DGR,120"}},
        {"delete a system", [](ScannerMemory& m) { m.systems.pop_back(); }, {"DSY,200"}},
        // Up: the contents shift through the records between; down to the end: delete and append.
        {"move a channel up",
         [&](ScannerMemory& m) { std::rotate(fire(m).begin(), fire(m).begin() + 2, fire(m).end()); },
         {"CIN,111,EMS,01553400,,,,,,,,", "CIN,112,Disp,01544300,,,,,,,,", "CIN,113,Tac,01542800,,,,,,,,"}},
        {"move a channel to the end",
         [&](ScannerMemory& m) { std::rotate(fire(m).begin(), fire(m).begin() + 1, fire(m).end()); },
         {"DCH,111", "ACC,110", "CIN,#1,Disp,01544300,0,NFM,0,0,0,0,0,0"}},
        {"move a channel to another group",
         [&](ScannerMemory& m) {
             fire(m).push_back(m.systems[0].groups[1].channels[0]);
             m.systems[0].groups[1].channels.clear();
         },
         {"DCH,121", "ACC,110", "CIN,#1,SO,01555950,0,NFM,0,0,0,0,0,0"}},
        {"change a system's type", [](ScannerMemory& m) { m.systems[1].type = "LTR"; },
         {"DSY,200", "CSY,LTR", "SIN,#1,Metro,.,2,0,0,2,0,0", "TRN,#1,0,0,0,0,0,0,0,00000000,,,,,,,,,", "AGC,#1",
          "GIN,#2,North,.,0", "ACC,#2", "TFQ,#3,08510125,0", "AGT,#1", "GIN,#4,Police,.,0", "ACT,#4",
          "TIN,#5,PD,12345,0,0"}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        ScannerMemory edited = test::SmallMemory();
        row.edit(edited);
        const WritePlan plan = PlanWrite(test::SmallMemory(), edited);
        EXPECT_EQ(PlanCommands(plan), row.commands);
    }
}

TEST(WritePlan, ARestoreClearsThenBuildsEveryRecordInOrder) {
    const ScannerMemory memory = WithoutIndexes(test::SmallMemory());
    const Commands commands = PlanCommands(PlanRestore(memory));
    ASSERT_EQ(commands.size(), 26u);
    EXPECT_EQ(Commands(commands.begin(), commands.begin() + 5),
              (Commands{"CLR", "CSY,CNV", "SIN,#1,County,.,2,0,0,2,0,0", "AGC,#1", "GIN,#2,Fire,.,0"}));
    EXPECT_EQ(Commands(commands.end() - 8, commands.end()),
              (Commands{"AGC,#8", "GIN,#9,North,.,0", "ACC,#9", "TFQ,#10,08510125,0", "AGT,#8", "GIN,#11,Police,.,0",
                        "ACT,#11", "TIN,#12,PD,12345,0,0"}));
}

}  // namespace
}  // namespace quorvane
