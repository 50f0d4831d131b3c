#include "input/SequenceQueue.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "input/KeyPad.h"
#include "input/Macros.h"

namespace quorvane {
namespace {

using Sent = std::pair<int64_t, std::string>;  // time, command

// Stands in for the window: pumps at each wake-up time of a fake clock
// until the queue is idle, recording when each command went out.
std::vector<Sent> RunUntilIdle(SequenceQueue& queue, int64_t startMs, int64_t lateByMs = 0) {
    std::vector<Sent> sent;
    int64_t now = startMs;
    for (int tick = 0; tick < 10000; ++tick) {
        for (std::string& text : queue.Pump(now)) sent.emplace_back(now, std::move(text));
        const std::optional<int64_t> wake = queue.NextWakeMs();
        if (!wake) return sent;
        now = std::max(now, *wake) + lateByMs;
    }
    ADD_FAILURE() << "queue never became idle";
    return sent;
}

TEST(SequenceQueue, LockSpacesItsSecondSendBySecond) {
    KeyPad pad;
    SequenceQueue queue;
    queue.Enqueue(pad.Click("key_lock").steps);
    const std::vector<Sent> sent = RunUntilIdle(queue, 5000);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0], Sent(5000, "KEY,F,H"));
    EXPECT_EQ(sent[1].second, "KEY,!,P");
    EXPECT_GE(sent[1].first - sent[0].first, 1000);
    EXPECT_EQ(sent[2], Sent(sent[1].first, "KEY,F,R"));
}

TEST(SequenceQueue, PumpStopsAtARunningWait) {
    SequenceQueue queue;
    queue.Enqueue(KeyPad().Click("key_lock").steps);
    EXPECT_EQ(queue.Pump(0), std::vector<std::string>{"KEY,F,H"});
    EXPECT_EQ(queue.NextWakeMs(), 1000);
    EXPECT_TRUE(queue.Pump(999).empty());
    EXPECT_TRUE(queue.Busy());
    EXPECT_EQ(queue.Pump(1000), (std::vector<std::string>{"KEY,!,P", "KEY,F,R"}));
    EXPECT_FALSE(queue.Busy());
    EXPECT_FALSE(queue.NextWakeMs().has_value());
}

TEST(SequenceQueue, SequenceEnqueuedDuringAWaitRunsAfterIt) {
    KeyPad pad;
    SequenceQueue queue;
    queue.Enqueue(pad.Click("key_lock").steps);
    EXPECT_EQ(queue.Pump(0).size(), 1u);
    queue.Enqueue(pad.Click("key_g5").steps);
    EXPECT_TRUE(queue.Pump(500).empty());
    EXPECT_EQ(queue.Pump(1000), (std::vector<std::string>{"KEY,!,P", "KEY,F,R", "KEY,F,H",
                                                          "KEY,5,P", "KEY,F,R"}));
    EXPECT_FALSE(queue.Busy());
}

TEST(SequenceQueue, BusyThroughTheMacrosTrailingWait) {
    SequenceQueue queue;
    queue.Enqueue(MacroSteps(ExpandMacro("1,P 2,P 3,P").commands));
    EXPECT_TRUE(queue.Busy());
    const std::vector<Sent> sent = RunUntilIdle(queue, 0);
    EXPECT_EQ(sent, (std::vector<Sent>{{0, "KEY,1,P"}, {100, "KEY,2,P"}, {200, "KEY,3,P"}}));

    SequenceQueue again;
    again.Enqueue(MacroSteps(ExpandMacro("1,P").commands));
    again.Pump(0);
    EXPECT_TRUE(again.Busy());
    again.Pump(99);
    EXPECT_TRUE(again.Busy());
    again.Pump(100);
    EXPECT_FALSE(again.Busy());
}

TEST(SequenceQueue, LatePumpsNeverShortenTheSpacing) {
    // Each wait counts from when it was reached, so a late timer delays
    // the rest instead of bunching it up.
    SequenceQueue queue;
    queue.Enqueue(MacroSteps(ExpandMacro("1,P 2,P 3,P").commands));
    const std::vector<Sent> sent = RunUntilIdle(queue, 0, 37);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_GE(sent[1].first - sent[0].first, 100);
    EXPECT_GE(sent[2].first - sent[1].first, 100);

    SequenceQueue jittery;
    jittery.Enqueue(MacroSteps(ExpandMacro("1,P 2,P 3,P").commands));
    jittery.Pump(0);
    EXPECT_EQ(jittery.Pump(250), std::vector<std::string>{"KEY,2,P"});
    EXPECT_TRUE(jittery.Pump(300).empty());
    EXPECT_EQ(jittery.Pump(350), std::vector<std::string>{"KEY,3,P"});
}

TEST(SequenceQueue, WaitStartsWhenReachedNotWhenQueued) {
    SequenceQueue queue;
    queue.Enqueue({Step::Wait(100), Step::Send("KEY,1,P")});
    EXPECT_TRUE(queue.Pump(1000).empty());
    EXPECT_TRUE(queue.Pump(1099).empty());
    EXPECT_EQ(queue.Pump(1100), std::vector<std::string>{"KEY,1,P"});
}

TEST(SequenceQueue, NewStepsAreDueAtOnce) {
    SequenceQueue queue;
    EXPECT_FALSE(queue.Busy());
    EXPECT_FALSE(queue.NextWakeMs().has_value());
    queue.Pump(700);
    queue.Enqueue({Step::Send("KEY,1,P")});
    ASSERT_TRUE(queue.NextWakeMs().has_value());
    EXPECT_LE(*queue.NextWakeMs(), 700);
    queue.Enqueue({});
    EXPECT_EQ(queue.Pump(800), std::vector<std::string>{"KEY,1,P"});
    EXPECT_FALSE(queue.Busy());
}

TEST(SequenceQueue, OddWaitsAndClear) {
    SequenceQueue queue;
    queue.Enqueue({Step::Send("A"), Step::Wait(-5), Step::Wait(0), Step::Send("B")});
    EXPECT_EQ(queue.Pump(0), (std::vector<std::string>{"A", "B"}));

    queue.Enqueue({Step::Send("C"), Step::Wait(1000), Step::Send("D")});
    queue.Pump(10);
    queue.Clear();
    EXPECT_FALSE(queue.Busy());
    queue.Enqueue({Step::Wait(50), Step::Send("E")});
    EXPECT_TRUE(queue.Pump(20).empty());  // a fresh wait, not the cleared one
    EXPECT_EQ(queue.Pump(70), std::vector<std::string>{"E"});
}

}  // namespace
}  // namespace quorvane
