#include "input/Wheel.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace quorvane {
namespace {

// The keys the events run, in order.
std::vector<std::string> Feed(Wheel& wheel, const std::vector<int>& deltas) {
    std::vector<std::string> keys;
    for (int d : deltas) {
        if (auto key = wheel.Turn(d)) keys.push_back(*key);
    }
    return keys;
}

TEST(Wheel, AwayTurnsRightTowardsTurnsLeft) {
    Wheel wheel;
    EXPECT_EQ(wheel.Turn(120), "key_right");
    EXPECT_TRUE(wheel.WheelForward());
    EXPECT_EQ(wheel.Turn(-120), "key_left");
    EXPECT_FALSE(wheel.WheelForward());
}

TEST(Wheel, OneStepPerNotchedEventWhateverItsSize) {
    Wheel wheel;
    EXPECT_EQ(Feed(wheel, {240}), std::vector<std::string>{"key_right"});
    // Nothing of the big event is carried over to the next small one.
    EXPECT_TRUE(Feed(wheel, {15}).empty());
    EXPECT_EQ(Feed(wheel, {-360, -120, -120}), std::vector<std::string>(3, "key_left"));
}

TEST(Wheel, HighResolutionFractionsAddUpToOneStepPerNotch) {
    Wheel wheel;
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(wheel.Turn(15).has_value(), i == 7) << "event " << i;
    }
    EXPECT_EQ(Feed(wheel, std::vector<int>(16, -15)), std::vector<std::string>(2, "key_left"));
}

TEST(Wheel, RemainderCarriesTowardsTheNextNotch) {
    Wheel wheel;
    EXPECT_EQ(Feed(wheel, {100, 100}), std::vector<std::string>{"key_right"});
    EXPECT_TRUE(Feed(wheel, {30}).empty());  // 80 + 30 = 110
    EXPECT_EQ(Feed(wheel, {10}), std::vector<std::string>{"key_right"});
}

TEST(Wheel, ChangeOfDirectionRestartsTheSum) {
    Wheel wheel;
    EXPECT_TRUE(Feed(wheel, {90, -60, -30}).empty());
    EXPECT_EQ(Feed(wheel, {-30}), std::vector<std::string>{"key_left"});  // -60-30-30
    EXPECT_TRUE(Feed(wheel, {60, 50}).empty());
    wheel.Reset();
    EXPECT_TRUE(Feed(wheel, {60}).empty());
}

TEST(Wheel, ZeroAndExtremeDeltas) {
    Wheel wheel;
    EXPECT_FALSE(wheel.Turn(0).has_value());
    EXPECT_EQ(wheel.Turn(INT_MIN), "key_left");
    EXPECT_EQ(wheel.Turn(INT_MAX), "key_right");
    EXPECT_EQ(wheel.Turn(-1), std::nullopt);
}

}  // namespace
}  // namespace quorvane
