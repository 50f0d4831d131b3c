#include "input/SequenceQueue.h"

#include <gtest/gtest.h>

#include "input/KeyPad.h"
#include "input/Macros.h"

namespace quorvane {
namespace {

// The tests play the window on a fake clock: each Pump gets the time it runs at.
using Texts = std::vector<std::string>;

TEST(SequenceQueue, LockSpacingAndASequenceQueuedDuringTheWait) {
    KeyPad pad;
    SequenceQueue queue;
    queue.Enqueue(pad.Click("key_lock").steps);
    EXPECT_EQ(queue.Pump(5000), Texts{"KEY,F,H"});
    EXPECT_EQ(queue.NextWakeMs(), 6000);
    queue.Enqueue(pad.Click("key_g5").steps);
    queue.Enqueue(pad.Click("key_lock").steps);
    EXPECT_TRUE(queue.Pump(5999).empty());
    // The lock's third command follows its second at once; what was queued
    // during the wait runs after it.
    EXPECT_EQ(queue.Pump(6000),
              (Texts{"KEY,!,P", "KEY,F,R", "KEY,F,H", "KEY,5,P", "KEY,F,R", "KEY,F,H"}));
    EXPECT_TRUE(queue.Pump(6999).empty());  // the second lock's wait began at 6000
    EXPECT_EQ(queue.Pump(7000), (Texts{"KEY,!,P", "KEY,F,R"}));
    EXPECT_FALSE(queue.Busy());
    EXPECT_FALSE(queue.NextWakeMs().has_value());
}

TEST(SequenceQueue, LateTimersKeepTheSpacingBusyLastsThroughTheTrailingWaitAndClearDropsIt) {
    SequenceQueue queue;
    EXPECT_FALSE(queue.Busy());
    queue.Enqueue(MacroSteps(ExpandMacro("1,P 2,P 3,P").commands));
    EXPECT_TRUE(queue.Busy());
    EXPECT_EQ(queue.Pump(0), Texts{"KEY,1,P"});
    // A late timer: each wait counts from when it was reached, not when it was due.
    EXPECT_EQ(queue.Pump(250), Texts{"KEY,2,P"});
    EXPECT_TRUE(queue.Pump(300).empty());
    EXPECT_EQ(queue.Pump(350), Texts{"KEY,3,P"});
    EXPECT_TRUE(queue.Pump(449).empty());
    EXPECT_TRUE(queue.Busy());
    EXPECT_TRUE(queue.Pump(450).empty());
    EXPECT_FALSE(queue.Busy());
    // Clear drops the running wait and everything unsent.
    queue.Enqueue({Step::Send("C"), Step::Wait(1000), Step::Send("D")});
    queue.Pump(1010);
    queue.Clear();
    EXPECT_FALSE(queue.Busy());
    queue.Enqueue({Step::Wait(50), Step::Send("E")});
    EXPECT_EQ(queue.NextWakeMs(), 1010);  // due at once: when the queue was last pumped
    EXPECT_TRUE(queue.Pump(1020).empty());
    EXPECT_TRUE(queue.Pump(1069).empty());  // a fresh wait from 1020, not the cleared one from 1010
    EXPECT_EQ(queue.Pump(1070), Texts{"E"});
}

}  // namespace
}  // namespace quorvane
