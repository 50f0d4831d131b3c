#include "Respond.h"

#include <gtest/gtest.h>

#include "ScenarioParser.h"
#include "link/Fields.h"

namespace quorvane {
namespace {

// idle 0-1000, conventional hit with prompt 1000-4000, scan delay 4000-6000,
// trunked hit 6000-8000, scan delay 8000-10000, then round again.
constexpr const char* kRadio =
    "step 1000 idle line1=\"County\" line2=\"Scanning\" icons1=110000000000000 icons2=11100000000011000\n"
    "step 3000 hit prompt line1=\"County\" line2=\"Dispatch \\x82 1\" freq=01544750\n"
    "step 2000 hit line1=\"Metro\" line2=\"ID:12345\" freq=08561125 tgid=12345 system=\"Metro Trunk\" "
    "group=Police talkgroup=\"PD Disp\"\n";

class RespondTest : public ::testing::Test {
protected:
    RespondTest() : state_(ParseScenario(kRadio, nullptr)) {}
    std::vector<std::string> Fields(const std::string& command, SimTime at) {
        return SplitFields(Respond(state_, command, at), ',');
    }
    RadioState state_;
};

TEST_F(RespondTest, EveryCommandGetsOneLineOfTheRightShape) {
    const struct {
        const char* command;
        std::size_t fields;
        const char* reply_start;
    } shapes[] = {
        {"STS", 12, "STS,"},
        {"GID", 7, "GID,"},
        {"WIN", 3, "WIN,"},
        {"KEY,L,P", 2, "KEY,OK"},
        {"QSH,01544750,0,NFM,0,.,.,.,.,.", 2, "QSH,OK"},
        {"QSH,1544750,0,FM,0,.,.,.,.,.", 2, "QSH,NG"},
        {"QSH,01544750,0,USB,0,.,.,.,.,.", 2, "QSH,NG"},
        {"QSH,01544750", 1, "ERR"},
        {"SIH", 2, "SIH,NG"},  // memory reads need programming mode
        {"", 1, "ERR"},
        {"sts", 1, "ERR"},
        {"KEY,>,X", 1, "ERR"},
        {"CIN,1,2", 1, "ERR"},
        {"\x82\xFF\r", 1, "ERR"},
        {"PRG", 2, "PRG,OK"},
    };
    SimTime at = 0;
    for (const auto& s : shapes) {
        SCOPED_TRACE(s.command);
        const std::string reply = Respond(state_, s.command, at += 10);
        EXPECT_EQ(reply.rfind(s.reply_start, 0), 0u) << reply;
        EXPECT_EQ(SplitFields(reply, ',').size(), s.fields) << reply;
        EXPECT_EQ(reply.find('\r'), std::string::npos);
    }
}

TEST_F(RespondTest, HitThenScanDelayWithSquelchClosedThenNextStep) {
    const struct {
        SimTime at;
        const char* line2;
        const char* squelch;  // "1": closed
        const char* frequency;
        const char* gid;
    } moments[] = {
        {100, "Scanning        ", "1", "00000000", "GID,,,,,,"},
        {1100, kPressAnyKey, "0", "01544750", "GID,,,,,,"},
        {4100, kPressAnyKey, "1", "01544750", "GID,,,,,,"},  // scan delay: display unchanged
        {5900, kPressAnyKey, "1", "01544750", "GID,,,,,,"},
        {6100, "ID:12345        ", "0", "08561125", "GID,,12345,,Metro Trunk,Police,PD Disp"},
        {10100, "Scanning        ", "1", "00000000", "GID,,,,,,"},
    };
    for (const auto& m : moments) {
        SCOPED_TRACE(m.at);
        const std::vector<std::string> sts = Fields("STS", m.at);
        EXPECT_EQ(sts[3], m.line2);
        EXPECT_EQ(sts[9], m.squelch);
        EXPECT_EQ(Fields("WIN", m.at)[2], m.frequency);
        EXPECT_EQ(Respond(state_, "GID", m.at), m.gid);
    }
}

TEST_F(RespondTest, KeysDismissThePromptAndStepThroughTheScan) {
    EXPECT_EQ(Respond(state_, "KEY,E,P", 1200), "KEY,OK");
    EXPECT_EQ(Fields("STS", 1300)[3], "Dispatch \x82 1    ");
    EXPECT_EQ(Fields("STS", 11100)[3], kPressAnyKey);  // the next pass prompts again
    Respond(state_, "KEY,>,P", 11500);
    EXPECT_EQ(Fields("WIN", 11510)[2], "08561125");
    EXPECT_EQ(Fields("STS", 11510)[9], "0");
    Respond(state_, "KEY,<,P", 11600);  // back to the start of the previous step
    EXPECT_EQ(Fields("WIN", 11610)[2], "01544750");
}

TEST_F(RespondTest, TuningAndProgrammingModeHoldTheScan) {
    EXPECT_EQ(Respond(state_, "QSH,01625500,0,AM,0,.,.,.,.,.", 1500), "QSH,OK");
    const std::vector<std::string> tuned = Fields("STS", 60000);
    EXPECT_EQ(tuned[1], "  162.5500 MHz  ");
    EXPECT_EQ(tuned[3], "  AM            ");
    EXPECT_EQ(Fields("WIN", 60000)[2], "01625500");
    Respond(state_, "KEY,S,P", 60000);
    EXPECT_EQ(Fields("WIN", 60100)[2], "01544750");  // back where the scan was left

    EXPECT_EQ(Respond(state_, "PRG", 60100), "PRG,OK");
    EXPECT_EQ(Fields("STS", 90000)[1], " Remote Mode    ");
    EXPECT_EQ(Respond(state_, "QSH,01625500,0,AM,0,.,.,.,.,.", 90000), "QSH,NG");
    Respond(state_, "EPG", 90000);
    EXPECT_EQ(Fields("STS", 90000)[9], "0");
}

TEST(Respond, RadioWithNothingStoredStillAnswers) {
    RadioState state(ParseScenario("", nullptr));
    Respond(state, "KEY,>,P", 5000);
    EXPECT_EQ(SplitFields(Respond(state, "STS", 5000), ',').size(), 12u);
    Respond(state, "PRG", 5000);
    EXPECT_EQ(Respond(state, "SIH", 5000), "SIH,-1");
}

}  // namespace
}  // namespace quorvane
