// The line's ledger (replies owed and matched, whole rounds for the poll)
// and who may use the line while another user has it.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "link/LineGrant.h"
#include "link/LineLedger.h"

namespace quorvane {
namespace {

// One step of a run at ms: commands written, bytes received, and, when
// `tick`, what the poll's TakeRound must answer (nothing: wait).
struct Step {
    int64_t ms = 0;
    std::vector<std::string> written{};
    std::string received{};
    bool tick = false;
    std::optional<std::string> round{};
};
const std::vector<std::string> kPoll = {"STS", "GID", "WIN"};
const std::optional<std::string> kWait;

TEST(LineLedger, ThePollGetsWholeRoundsAndStartsAfreshOnlyWhenAReplyIsLost) {
    const std::string s = "STS,a\r", g = "GID,b\r", w = "WIN,c\r", q = "QSH,OK\r";
    const struct {
        const char* name;
        std::vector<Step> steps;
    } runs[] = {
        {"fast line: every tick goes with the whole previous round",
         {{0, {}, "", true, ""}, {0, kPoll}, {30, {}, s + g + w}, {100, {}, "", true, s + g + w}}},
        {"slow line: partial replies are kept over several ticks",
         {{0, kPoll}, {100, {}, "STS,", true, kWait}, {200, {}, "a\r" + g + "WI", true, kWait},
          {300, {}, "N,c\r", true, s + g + w}}},
        {"a key sent between ticks owes a line too; its reply stays in the round",
         {{0, kPoll}, {50, {"KEY,5,P"}}, {60, {}, s + g + w}, {100, {}, "", true, kWait},
          {150, {}, "KEY,OK\r", true, s + g + w + "KEY,OK\r"}}},
        {"1 s without a byte while lines are owed: start afresh",
         {{0, kPoll}, {100, {}, "STS,", true, kWait}, {1099, {}, "", true, kWait}, {1100, {}, "", true, ""},
          {1100, kPoll}, {1130, {}, s + g + w}, {1200, {}, "", true, s + g + w}}},
        {"a stray line still arriving is waited for, so rounds stay aligned",
         {{0, kPoll}, {50, {}, s + g + w + "KEY"}, {100, {}, "", true, kWait}, {150, {}, ",OK\r"},
          {200, {}, "", true, s + g + w + "KEY,OK\r"}}},
        {"a lost status reply is given up 1 s after its round although the quick scan's replies keep coming",
         {{0, kPoll}, {30, {}, g + w}, {500, {"QSH,01544300,0,FM,0,.,.,.,.,."}}, {510, {}, q},
          {900, {}, "", true, kWait}, {1000, {}, "", true, ""}}},
        {"an ERR answers the oldest command",
         {{0, kPoll}, {30, {}, "ERR\r" + g + w}, {100, {}, "", true, "ERR\r" + g + w}}},
        {"replies out of order still complete the round",
         {{0, kPoll}, {30, {}, w + s}, {100, {}, "", true, kWait}, {130, {}, g}, {200, {}, "", true, w + s + g}}},
    };
    for (const auto& run : runs) {
        LineLedger ledger;
        for (const Step& step : run.steps) {
            for (const std::string& command : step.written) ledger.Written(command, step.ms);
            ledger.Received(step.received, step.ms);
            if (step.tick) {
                EXPECT_EQ(ledger.TakeRound(step.ms), step.round) << run.name << " at " << step.ms;
            }
        }
    }
}

TEST(LineLedger, AHolderTakesEverythingReceivedAndTheOldestOwedIsKnown) {
    LineLedger ledger;
    ledger.Written("PRG", 0);
    ledger.Written("SIH", 10);
    EXPECT_EQ(ledger.OldestOwed(), "PRG");
    ledger.Received("PRG,OK\rSIH,1", 20);
    EXPECT_EQ(ledger.OldestOwed(), "SIH");
    EXPECT_EQ(ledger.TakeAll(), "PRG,OK\rSIH,1");
    ledger.Received("2\r", 30);
    EXPECT_EQ(ledger.Owed(), 0);
    EXPECT_EQ(ledger.TakeAll(), "2\r");
    ledger.Written("EPG", 40);
    ledger.Reset();
    EXPECT_EQ(ledger.Owed(), 0);
}

}  // namespace
}  // namespace quorvane
