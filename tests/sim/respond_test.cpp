#include "Respond.h"

#include <gtest/gtest.h>

#include "ScenarioParser.h"
#include "link/Fields.h"

namespace quorvane {
namespace {

// idle 1000 ms, conventional hit 3000 ms (prompt), trunked hit 2000 ms; scan delay 2000.
constexpr const char* kRadio =
    "step 1000 idle line1=\"County\" line2=\"Scanning\" icons1=110000000000000 icons2=11100000000011000\n"
    "step 3000 hit prompt line1=\"County\" line2=\"Dispatch \\x82 1\" freq=01544750 icons1=110000000000000 "
    "icons2=11100000000011000\n"
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

struct Shape {
    const char* command;
    std::size_t fields;
    const char* reply_start;
};

TEST_F(RespondTest, EveryCommandGetsOneLineOfTheRightShape) {
    const Shape shapes[] = {
        {"STS", 12, "STS,"},
        {"GID", 7, "GID,"},
        {"WIN", 3, "WIN,"},
        {"KEY,L,P", 2, "KEY,OK"},
        {"KEY,F,H", 2, "KEY,OK"},
        {"KEY,F,R", 2, "KEY,OK"},
        {"QSH,01544750,0,NFM,0,.,.,.,.,.", 2, "QSH,OK"},
        {"QSH,01544750,0,,0,.,.,.,.,.", 2, "QSH,OK"},
        {"QSH,1544750,0,FM,0,.,.,.,.,.", 2, "QSH,NG"},
        {"QSH,0154475x,0,FM,0,.,.,.,.,.", 2, "QSH,NG"},
        {"QSH,01544750,0,USB,0,.,.,.,.,.", 2, "QSH,NG"},
        {"QSH,01544750", 1, "ERR"},
        {"SIH", 2, "SIH,NG"},  // memory reads need programming mode
        {"SIN,12032", 2, "SIN,NG"},
        {"EPG", 2, "EPG,OK"},
        {"", 1, "ERR"},
        {"sts", 1, "ERR"},
        {"STS,", 1, "ERR"},
        {"WIN,1", 1, "ERR"},
        {"KEY,>", 1, "ERR"},
        {"KEY,>>,P", 1, "ERR"},
        {"KEY,>,X", 1, "ERR"},
        {"KEY,,P", 1, "ERR"},
        {"SIN", 1, "ERR"},
        {"CIN,1,2", 1, "ERR"},
        {"\x82\xFF\r", 1, "ERR"},
        {"PRG", 2, "PRG,OK"},
    };
    SimTime at = 0;
    for (const Shape& s : shapes) {
        SCOPED_TRACE(s.command);
        const std::string reply = Respond(state_, s.command, at += 10);
        EXPECT_EQ(reply.rfind(s.reply_start, 0), 0u) << reply;
        EXPECT_EQ(SplitFields(reply, ',').size(), s.fields) << reply;
        EXPECT_EQ(reply.find('\r'), std::string::npos);
    }
}

TEST_F(RespondTest, StatusCarriesDisplayIconsAndSquelch) {
    std::vector<std::string> sts = Fields("STS", 100);
    EXPECT_EQ(sts[1], "County          ");
    EXPECT_EQ(sts[3], "Scanning        ");
    EXPECT_EQ(sts[5], "110000000000000");
    EXPECT_EQ(sts[6], "11100000000011000");
    EXPECT_EQ(sts[9], "1");
    sts = Fields("STS", 1100);
    EXPECT_EQ(sts[3], kPressAnyKey);
    EXPECT_EQ(sts[9], "0");
}

TEST_F(RespondTest, KeyEDismissesThePromptForThisTransmissionOnly) {
    EXPECT_EQ(Fields("STS", 1100)[3], kPressAnyKey);
    EXPECT_EQ(Respond(state_, "KEY,E,P", 1200), "KEY,OK");
    EXPECT_EQ(Fields("STS", 1300)[3], "Dispatch \x82 1    ");
    // Next pass over the same step: the prompt is back.
    EXPECT_EQ(Fields("STS", 10000 + 1100)[3], kPressAnyKey);
}

TEST_F(RespondTest, TalkgroupAndFrequencyReplies) {
    EXPECT_EQ(Respond(state_, "GID", 100), "GID,,,,,,");
    EXPECT_EQ(Fields("WIN", 100)[2], "00000000");
    EXPECT_EQ(Respond(state_, "GID", 1100), "GID,,,,,,");
    EXPECT_EQ(Fields("WIN", 1100)[2], "01544750");
    // Trunked hit after the conventional one and its scan delay: 1000 + 3000 + 2000.
    const std::vector<std::string> gid = Fields("GID", 6100);
    EXPECT_EQ(gid[2], "12345");
    EXPECT_EQ(gid[4], "Metro Trunk");
    EXPECT_EQ(gid[5], "Police");
    EXPECT_EQ(gid[6], "PD Disp");
    EXPECT_EQ(Fields("WIN", 6100)[2], "08561125");
    EXPECT_EQ(Fields("STS", 6100)[3], "ID:12345        ");
}

TEST_F(RespondTest, ScanDelayKeepsEverythingButTheSquelch) {
    const std::vector<std::string> during = Fields("STS", 3900);
    const std::vector<std::string> after = Fields("STS", 4100);
    EXPECT_EQ(during[9], "0");
    EXPECT_EQ(after[9], "1");
    for (int f : {1, 3, 5, 6}) EXPECT_EQ(after[f], during[f]) << "field " << f;
    EXPECT_EQ(Fields("WIN", 5900)[2], "01544750");
}

TEST_F(RespondTest, KeyRightSkipsTheTransmission) {
    EXPECT_EQ(Fields("STS", 1500)[9], "0");
    Respond(state_, "KEY,>,P", 1500);
    EXPECT_EQ(Fields("WIN", 1510)[2], "08561125");
    EXPECT_EQ(Fields("STS", 1510)[9], "0");
    Respond(state_, "KEY,<,P", 1600);
    EXPECT_EQ(Fields("WIN", 1610)[2], "01544750");
}

TEST_F(RespondTest, KeyReleaseAndUnknownKeysDoNothing) {
    Respond(state_, "KEY,>,R", 1500);
    Respond(state_, "KEY,7,P", 1500);
    EXPECT_EQ(Fields("WIN", 1510)[2], "01544750");
}

TEST_F(RespondTest, HoldStopsTheScanUntilScan) {
    Respond(state_, "KEY,H,P", 500);
    EXPECT_EQ(Fields("STS", 50000)[3], "Scanning        ");
    Respond(state_, "KEY,H,P", 50000);  // second press releases the hold
    EXPECT_EQ(Fields("STS", 50001)[9], "0");
    Respond(state_, "KEY,H,P", 50001);
    Respond(state_, "KEY,S,P", 90000);
    EXPECT_EQ(Fields("WIN", 90001)[2], "08561125");
}

TEST_F(RespondTest, TuningStaysUntilScan) {
    EXPECT_EQ(Respond(state_, "QSH,01625500,0,AM,0,.,.,.,.,.", 1500), "QSH,OK");
    for (SimTime at : {1500, 5000, 60000}) {
        const std::vector<std::string> sts = Fields("STS", at);
        EXPECT_EQ(sts[1], "  162.5500 MHz  ");
        EXPECT_EQ(sts[3], "  AM            ");
        EXPECT_EQ(sts[9], "1");
        EXPECT_EQ(Fields("WIN", at)[2], "01625500");
        EXPECT_EQ(Respond(state_, "GID", at), "GID,,,,,,");
    }
    Respond(state_, "KEY,>,P", 60000);  // no scan to step through while tuned
    Respond(state_, "KEY,S,P", 60000);
    // The scan goes on where it was left: still in the conventional hit.
    EXPECT_EQ(Fields("WIN", 60100)[2], "01544750");
    EXPECT_EQ(Fields("STS", 60100)[9], "0");
}

TEST_F(RespondTest, ProgrammingModeShowsRemoteModeAndPausesTheScan) {
    EXPECT_EQ(Respond(state_, "PRG", 500), "PRG,OK");
    const std::vector<std::string> sts = Fields("STS", 30000);
    ASSERT_EQ(sts.size(), 12u);
    EXPECT_EQ(sts[1], " Remote Mode    ");
    EXPECT_EQ(sts[3], " Keypad Lock    ");
    EXPECT_EQ(sts[9], "1");
    Respond(state_, "KEY,>,P", 30000);  // the keypad is locked
    EXPECT_EQ(Respond(state_, "QSH,01625500,0,AM,0,.,.,.,.,.", 30000), "QSH,NG");
    EXPECT_EQ(Respond(state_, "EPG", 30000), "EPG,OK");
    EXPECT_EQ(Fields("STS", 30000)[3], "Scanning        ");
    EXPECT_EQ(Fields("STS", 30500)[9], "0");
}

TEST_F(RespondTest, OverriddenTextNeverSplitsTheReply) {
    RadioView view;
    view.line1 = "a,b\rc";
    view.system = "x,y";
    state_.SetOverride(view);
    EXPECT_EQ(Fields("STS", 10).size(), 12u);
    EXPECT_EQ(Fields("STS", 10)[1], "a b c");
    EXPECT_EQ(Fields("GID", 10).size(), 7u);
    state_.SetOverride(std::nullopt);
    EXPECT_EQ(Fields("STS", 10)[1], "County          ");
}

TEST(FrequencyText, FormatsDigitsAndPassesOddTextThrough) {
    EXPECT_EQ(FrequencyText("01544750"), "154.4750");
    EXPECT_EQ(FrequencyText("00270000"), "27.0000");
    EXPECT_EQ(FrequencyText("00000000"), "0.0000");
    EXPECT_EQ(FrequencyText("12345"), "12345");
    EXPECT_EQ(FrequencyText("0154475x"), "0154475x");
}

}  // namespace
}  // namespace quorvane
