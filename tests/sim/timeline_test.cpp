#include "Timeline.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

ScanStep Step(int ms, bool receiving, const std::string& line2, bool continues = false) {
    ScanStep step;
    step.duration_ms = ms;
    step.view.receiving = receiving;
    step.view.line2 = PadLine(line2);
    step.continues = continues;
    return step;
}

// idle A 1000, hit B 3000, idle C 500 (scan delay 2000)
std::vector<ScanStep> ThreeSteps() { return {Step(1000, false, "A"), Step(3000, true, "B"), Step(500, false, "C")}; }

struct Expect {
    SimTime at;
    std::size_t step;
    bool receiving;
    bool in_delay;
};

TEST(Timeline, HitIsFollowedByScanDelayWithSquelchClosedAndSameDisplay) {
    Timeline scan(ThreeSteps(), 2000, false);
    const Expect table[] = {
        {0, 0, false, false},    {999, 0, false, false},  {1000, 1, true, false}, {3999, 1, true, false},
        {4000, 1, false, true},  {5999, 1, false, true},  {6000, 2, false, false}, {6499, 2, false, false},
        {6500, 0, false, false}, {7500, 1, true, false},
    };
    for (const Expect& e : table) {
        scan.Update(e.at);
        SCOPED_TRACE(e.at);
        EXPECT_EQ(scan.StepIndex(), e.step);
        EXPECT_EQ(scan.View().receiving, e.receiving);
        EXPECT_EQ(scan.InScanDelay(), e.in_delay);
        if (e.in_delay) {
            EXPECT_EQ(scan.View().line2, PadLine("B"));
        }
    }
}

TEST(Timeline, ContinuedTransmissionHasNoScanDelayInside) {
    Timeline scan({Step(1000, true, "B"), Step(1000, true, "B 100.0", true), Step(500, false, "C")}, 2000, false);
    scan.Update(1500);
    EXPECT_EQ(scan.StepIndex(), 1u);
    EXPECT_TRUE(scan.View().receiving);
    scan.Update(2000);
    EXPECT_TRUE(scan.InScanDelay());
    EXPECT_EQ(scan.View().line2, PadLine("B 100.0"));
    scan.Update(4000);
    EXPECT_EQ(scan.StepIndex(), 2u);
}

TEST(Timeline, ZeroScanDelayGoesStraightOn) {
    Timeline scan(ThreeSteps(), 0, false);
    scan.Update(4000);
    EXPECT_EQ(scan.StepIndex(), 2u);
    EXPECT_FALSE(scan.InScanDelay());
}

TEST(Timeline, NextSkipsTheTransmissionAndItsContinuation) {
    Timeline scan({Step(1000, true, "B"), Step(1000, true, "B2", true), Step(500, false, "C")}, 2000, false);
    scan.Update(200);
    const auto entries = scan.Entries();
    scan.Next(200);
    EXPECT_EQ(scan.StepIndex(), 2u);
    EXPECT_FALSE(scan.InScanDelay());
    EXPECT_GT(scan.Entries(), entries);
    // The skipped-to step plays its full length from the key press.
    scan.Update(699);
    EXPECT_EQ(scan.StepIndex(), 2u);
    scan.Update(700);
    EXPECT_EQ(scan.StepIndex(), 0u);
}

TEST(Timeline, NextDuringScanDelayMovesOn) {
    Timeline scan(ThreeSteps(), 2000, false);
    scan.Update(4500);
    ASSERT_TRUE(scan.InScanDelay());
    scan.Next(4500);
    EXPECT_EQ(scan.StepIndex(), 2u);
    EXPECT_FALSE(scan.InScanDelay());
}

TEST(Timeline, PreviousGoesToTheStartOfTheEarlierStepAndWraps) {
    Timeline scan({Step(1000, false, "A"), Step(1000, true, "B"), Step(1000, true, "B2", true)}, 2000, false);
    scan.Update(1500);
    scan.Next(1500);  // wraps to A
    EXPECT_EQ(scan.StepIndex(), 0u);
    scan.Previous(1600);  // back over the end to the start of B
    EXPECT_EQ(scan.StepIndex(), 1u);
    scan.Previous(1700);
    EXPECT_EQ(scan.StepIndex(), 0u);
}

TEST(Timeline, HoldLetsTheTransmissionEndButStaysOnTheChannel) {
    Timeline scan(ThreeSteps(), 2000, false);
    scan.Update(1500);
    scan.SetHeld(true, 1500);
    scan.Update(60000);
    EXPECT_EQ(scan.StepIndex(), 1u);
    EXPECT_FALSE(scan.View().receiving);
    scan.SetHeld(false, 60000);
    scan.Update(60000);
    EXPECT_EQ(scan.StepIndex(), 2u);
    // The next step is not cut short by the time spent holding.
    scan.Update(60499);
    EXPECT_EQ(scan.StepIndex(), 2u);
}

TEST(Timeline, PausedScanLosesNoTime) {
    Timeline scan(ThreeSteps(), 2000, false);
    scan.Update(500);
    scan.SetPaused(true, 500);
    scan.Update(100000);
    EXPECT_EQ(scan.StepIndex(), 0u);
    scan.SetPaused(false, 100000);
    scan.Update(100499);
    EXPECT_EQ(scan.StepIndex(), 0u);
    scan.Update(100500);
    EXPECT_EQ(scan.StepIndex(), 1u);
}

TEST(Timeline, OncePlaysToTheEndAndStaysIdleOnTheLastStep) {
    Timeline scan({Step(1000, false, "A"), Step(1000, true, "B")}, 2000, true);
    scan.Update(1999);
    EXPECT_TRUE(scan.View().receiving);
    scan.Update(1000000);
    EXPECT_TRUE(scan.Finished());
    EXPECT_EQ(scan.StepIndex(), 1u);
    EXPECT_FALSE(scan.View().receiving);
    EXPECT_EQ(scan.View().line2, PadLine("B"));
    scan.Next(1000000);
    EXPECT_TRUE(scan.Finished());
}

TEST(Timeline, LongGapLandsWhereStepByStepPlayWould) {
    // One pass: 1000 + 3000 + 2000 (delay) + 500 = 6500 ms.
    Timeline jumped(ThreeSteps(), 2000, false);
    jumped.Update(6500LL * 1000000 + 4200);
    EXPECT_EQ(jumped.StepIndex(), 1u);
    EXPECT_TRUE(jumped.InScanDelay());
    Timeline walked(ThreeSteps(), 2000, false);
    for (SimTime t = 0; t <= 6500 * 3 + 4200; t += 50) walked.Update(t);
    EXPECT_EQ(walked.StepIndex(), 1u);
    EXPECT_TRUE(walked.InScanDelay());
}

TEST(Timeline, NoStepsShowsABlankIdleRadio) {
    Timeline scan({}, 2000, false);
    scan.Update(5000);
    scan.Next(5000);
    scan.Previous(5000);
    EXPECT_EQ(scan.Current(), nullptr);
    EXPECT_EQ(scan.View(), RadioView{});
}

}  // namespace
}  // namespace quorvane
