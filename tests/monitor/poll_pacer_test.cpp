#include "monitor/PollPacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvane {
namespace {

// One step of a run: at ms, either `sends` commands go out, or a tick reads
// `read` and must answer `round` (nothing: wait).
struct Step {
    int64_t ms;
    int sends;
    std::string read;
    std::optional<std::string> round;
};
constexpr int kPoll = 3;  // STS, GID and WIN of a going tick
const std::optional<std::string> kWait;

TEST(PollPacer, ATickWaitsUntilEveryLineOwedHasArrived) {
    const std::string s = "STS,a\r", g = "GID,b\r", w = "WIN,c\r";
    const struct {
        const char* name;
        std::vector<Step> steps;
    } runs[] = {
        {"fast line: every tick goes with the whole previous round",
         {{0, 0, "", ""}, {0, kPoll, "", kWait}, {100, 0, s + g + w, s + g + w}, {100, kPoll, "", kWait},
          {200, 0, s + g + w, s + g + w}}},
        {"slow line: partial replies are kept over several ticks",
         {{0, kPoll, "", kWait}, {100, 0, "STS,", kWait}, {200, 0, "a\r" + g + "WI", kWait},
          {300, 0, "N,c\r", s + g + w}}},
        {"a key sent between ticks owes a line too; its reply stays in the round",
         {{0, kPoll, "", kWait}, {50, 1, "", kWait}, {100, 0, s + g + w, kWait}, {200, 0, "KEY,OK\r", s + g + w + "KEY,OK\r"}}},
        {"1 s without a byte while lines are owed: start afresh",
         {{0, kPoll, "", kWait}, {100, 0, "STS,", kWait}, {1099, 0, "", kWait}, {1100, 0, "", ""},
          {1100, kPoll, "", kWait}, {1200, 0, s + g + w, s + g + w}}},
        {"a stray line still arriving is waited for, so rounds stay aligned",
         {{0, kPoll, "", kWait}, {100, 0, s + g + w + "KEY", kWait}, {200, 0, ",OK\r", s + g + w + "KEY,OK\r"}}},
    };
    for (const auto& run : runs) {
        PollPacer pacer;
        for (const Step& step : run.steps) {
            for (int i = 0; i < step.sends; ++i) pacer.Sent(step.ms);
            if (step.sends == 0) {
                EXPECT_EQ(pacer.Tick(step.read, step.ms), step.round) << run.name << " at " << step.ms;
            }
        }
    }
}

}  // namespace
}  // namespace quorvane
