#include "Respond.h"

#include <gtest/gtest.h>

#include "DemoScenario.h"
#include "ScenarioParser.h"
#include "base/Fields.h"

namespace quorvane {
namespace {

// idle 0-1000, conventional hit with prompt 1000-4000, scan delay 4000-6000,
// trunked hit 6000-8000 at level 87, scan delay 8000-10000, then round again.
constexpr const char* kRadio =
    "step 1000 idle line1=\"County\" line2=\"Scanning\" icons1=110000000000000 icons2=11100000000011000\n"
    "step 3000 hit prompt line1=\"County\" line2=\"Dispatch \\x82 1\" freq=01544750\n"
    "step 2000 hit line1=\"Metro\" line2=\"ID:12345\" freq=08561125 tgid=12345 system=\"Metro Trunk\" "
    "group=Police talkgroup=\"PD Disp\" level=87\n";

// One radio asked in time order: field -1 means the reply starts with expect.
TEST(Respond, AnswersFollowTheScanKeysTuningAndProgrammingMode) {
    RadioState state(ParseScenario(kRadio, nullptr));
    constexpr const char* kQsh = "QSH,01625500,0,AM,0,.,.,.,.,.";
    const struct {
        SimTime at;
        const char* command;
        int field;
        const char* expect;
    } table[] = {
        {0, "", -1, "ERR"}, {0, "sts", -1, "ERR"}, {0, "KEY,>,X", -1, "ERR"}, {0, "CIN,1,2", -1, "ERR"},
        {0, "\x82\xFF\r", -1, "ERR"}, {0, "QSH,01544750", -1, "ERR"},
        {0, "QSH,1544750,0,FM,0,.,.,.,.,.", -1, "QSH,NG"}, {0, "QSH,01544750,0,USB,0,.,.,.,.,.", -1, "QSH,NG"},
        {0, "SIH", -1, "SIH,NG"},  // memory reads need programming mode
        {100, "STS", 3, "Scanning        "}, {100, "STS", 9, "1"}, {100, "WIN", 2, "00000000"},
        {100, "GID", -1, "GID,,,,,,"}, {100, "WIN", 1, "0"},
        {1100, "STS", 3, kPressAnyKey}, {1100, "STS", 9, "0"}, {1100, "WIN", 2, "01544750"}, {1100, "WIN", 1, "142"},
        {1200, "KEY,E,P", -1, "KEY,OK"}, {1300, "STS", 3, "Dispatch \x82 1    "},
        {4100, "STS", 3, "Dispatch \x82 1    "}, {4100, "STS", 9, "1"},  // scan delay: display unchanged
        {5900, "WIN", 2, "01544750"}, {5900, "GID", -1, "GID,,,,,,"},
        {6100, "STS", 3, "ID:12345        "}, {6100, "STS", 9, "0"}, {6100, "WIN", 2, "08561125"},
        {6100, "GID", -1, "GID,,12345,,Metro Trunk,Police,PD Disp"}, {6100, "WIN", 1, "87"},
        {8100, "WIN", -1, "WIN,0,08561125"},  // the squelch closed: the step's level is gone
        {10100, "STS", 3, "Scanning        "}, {10100, "STS", 9, "1"}, {10100, "WIN", 2, "00000000"},
        {11100, "STS", 3, kPressAnyKey},  // the next pass prompts again
        {11500, "KEY,>,P", -1, "KEY,OK"}, {11510, "WIN", 2, "08561125"}, {11510, "STS", 9, "0"},
        {11600, "KEY,<,P", -1, "KEY,OK"}, {11610, "WIN", 2, "01544750"},  // back to the previous step
        {11700, kQsh, -1, "QSH,OK"}, {60000, "STS", 1, "  162.5500 MHz  "}, {60000, "STS", 3, "  AM            "},
        {60000, "WIN", 2, "01625500"},
        {60000, "KEY,S,P", -1, "KEY,OK"}, {60100, "WIN", 2, "01544750"},  // back where the scan was left
        {60100, "PRG", -1, "PRG,OK"}, {90000, "STS", 1, " Remote Mode    "}, {90000, kQsh, -1, "QSH,NG"},
        {90000, "SIH", -1, "SIH,-1"}, {90000, "SIN,-1", -1, "SIN,NG"},  // nothing stored
        {90000, "EPG", -1, "EPG,OK"}, {90000, "STS", 9, "0"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(std::to_string(row.at) + " " + row.command);
        const std::string reply = Respond(state, row.command, row.at);
        EXPECT_EQ(reply.find('\r'), std::string::npos);
        const std::vector<std::string> fields = SplitFields(reply, ',');
        const std::string name = reply.substr(0, 3);
        if (name == "STS" || name == "GID" || name == "WIN") {
            EXPECT_EQ(fields.size(), name == "STS" ? 12u : name == "GID" ? 7u : 3u) << reply;
        }
        if (row.field < 0) {
            EXPECT_EQ(reply.rfind(row.expect, 0), 0u) << reply;
        } else {
            EXPECT_EQ(fields.at(static_cast<std::size_t>(row.field)), row.expect) << reply;
        }
    }
}

// The radio leaves Program Mode on Scan Hold; the Scan key scans again.
TEST(Respond, AfterProgramModeTheRadioStaysOnScanHoldUntilTheScanKey) {
    RadioState state(ParseScenario(kRadio, nullptr));
    const struct {
        const char* command;
        bool held;
    } table[] = {{"STS", false}, {"PRG", false}, {"EPG", true}, {"STS", true}, {"KEY,S,P", false}};
    SimTime at = 100;
    for (const auto& row : table) {
        SCOPED_TRACE(row.command);
        Respond(state, row.command, at += 100);
        EXPECT_EQ(state.Scan().Held(), row.held);
    }
}

}  // namespace
}  // namespace quorvane

namespace quorvane {
namespace {

// The programming commands, in order on one radio with the demo memory
// (first system 12032, its first group 12080 with the channels 12144, 12224, 12320, then
// the group 12352; the second system 12640; the next free index 12864).
TEST(Respond, ProgrammingCommandsChangeTheMemoryAndRefuseWhatTheRadioWouldNot) {
    Scenario scenario = DemoScenario();
    scenario.memory_capacity = 15;  // the demo's 13 records and two more
    scenario.firmware_trunk_groups = false;  // the older model: a trunked system starts empty
    RadioState state(scenario);
    const struct {
        const char* command;
        const char* reply;
    } table[] = {
        {"CSY,CNV", "CSY,NG"}, {"MDL", "MDL,NG"},  // outside programming mode
        {"CSY", "ERR"}, {"CIN,1,2", "ERR"},        // malformed: ERR before anything else
        {"PRG", "PRG,OK"}, {"MDL", "MDL,BC246T"}, {"MEM", "MEM,86"},
        {"SIN,12032", "SIN,CNV,Lakeview County,.,2,0,0,2,0,0,-1,12640,12080,12352,1"},
        {"CIN,12144", "CIN,Fire Dispatch,01544300,0,NFM,0,0,0,0,0,0,-1,12224,12032,12080,"},
        {"CIN,12144,Fire Main,,,,,,,,,", "CIN,OK"},
        {"CIN,12144,,1544300,,,,,,,,", "ERR"}, {"CIN,12144,,,,USB,,,,,,", "ERR"},
        {"CIN,12144,Seventeen letters,,,,,,,,,", "ERR"}, {"CIN,99,,,,,,,,,,", "CIN,NG"},
        {"CIN,12144", "CIN,Fire Main,01544300,0,NFM,0,0,0,0,0,0,-1,12224,12032,12080,"},
        {"CSY,P25", "ERR"}, {"AGT,12032", "AGT,NG"},  // no talkgroup groups in a conventional system
        {"CSY,M82S", "CSY,12864"}, {"AGT,12864", "AGT,12960"}, {"ACT,12960", "ACT,-1"},  // full
        {"TRN,12864", "TRN,0,0,0,0,0,0,0,00000000,,,,,,,,,,12960,12960,-1,-1"},
        {"GIN,12960", "GIN,T,,.,0,-1,-1,12864,-1,-1,1"},
        {"DSY,12864", "DSY,OK"}, {"DGR,12080", "DGR,OK"}, {"DCH,12080", "DCH,NG"}, {"MEM,1", "ERR"},
        {"SIN,12032", "SIN,CNV,Lakeview County,.,2,0,0,2,0,0,-1,12640,12352,12352,1"},
        {"CLR", "CLR,OK"}, {"SIH", "SIH,-1"}, {"MEM", "MEM,0"},
    };
    for (const auto& row : table) EXPECT_EQ(Respond(state, row.command, 0), row.reply) << row.command;
}

// As the real firmware: CSY of a trunked type makes the frequency group; the
// settings read and set with their own field counts; the lockout lists run
// to "-1"; CLR returns every setting to its default.
TEST(Respond, TheFirmwareMakesATrunkedSystemsGroupAndClearResetsEverySetting) {
    RadioState state(DemoScenario());
    const std::string search10 = "SRCH 10,00250000,00540000,0,AUTO,0,2,0";
    const struct {
        std::string command;
        std::string reply;
    } table[] = {
        {"BLT", "BLT,NG"},  // outside programming mode
        {"PRG", "PRG,OK"}, {"CSY,M82S", "CSY,12864"},
        {"SIN,12864", "SIN,M82S,,.,2,0,0,2,0,0,12640,-1,12960,12960,3"},
        {"GIN,12960", "GIN,C,Site 1,.,0,-1,-1,12864,-1,-1,1"},
        {"BLT", "BLT,AF"}, {"BLT,AO", "BLT,OK"}, {"BLT", "BLT,AO"}, {"BLT,AO,1", "ERR"},
        {"CSP,10", "CSP," + search10}, {"CSP,0,Air,,,,,,,", "CSP,OK"},
        {"CSP,10", "CSP,Air,00250000,00540000,0,AUTO,0,2,0"}, {"CSP,11", "CSP,NG"},
        {"OMS,Hello,World", "OMS,OK"}, {"OMS", "OMS,Hello,World"}, {"OMS,Hi", "ERR"},
        {"QGL,12032,", "QGL,1111111111"}, {"QGL,12032,1010101010", "QGL,OK"}, {"QGL,12032", "QGL,1010101010"},
        {"LOF,01544300", "LOF,OK"}, {"LOF,1544300", "ERR"}, {"GLF", "GLF,01544300"}, {"GLF", "GLF,-1"},
        {"LOI,12864,100", "LOI,OK"}, {"GLI,12864", "GLI,100"}, {"GLI,12864", "GLI,-1"},
        {"LOI,12032,100", "LOI,NG"},  // a conventional system has no IDs
        {"ULI,12864,100", "ULI,OK"}, {"GLI,12864", "GLI,-1"},
        {"CLR", "CLR,OK"}, {"BLT", "BLT,AF"}, {"CSP,0", "CSP," + search10}, {"OMS", "OMS,BC246T,"},
        {"GLF", "GLF,-1"},
    };
    for (const auto& row : table) EXPECT_EQ(Respond(state, row.command, 0), row.reply) << row.command;
}

}  // namespace
}  // namespace quorvane
