#include "Timeline.h"

#include <gtest/gtest.h>

#include "ScenarioParser.h"

namespace quorvane {
namespace {

std::vector<ScanStep> Steps(const char* text) { return ParseScenario(text, nullptr).steps; }

TEST(Timeline, HitIsFollowedByScanDelayWithSquelchClosedAndSameDisplay) {
    Timeline scan(Steps("step 1000 idle line2=A\nstep 3000 hit line2=B\nstep 500 idle line2=C\n"), 2000, false);
    const struct {
        SimTime at;
        std::size_t step;
        bool receiving;
        bool in_delay;
    } table[] = {
        {0, 0, false, false},    {999, 0, false, false},  {1000, 1, true, false}, {3999, 1, true, false},
        {4000, 1, false, true},  {5999, 1, false, true},  {6000, 2, false, false}, {6499, 2, false, false},
        {6500, 0, false, false}, {7500, 1, true, false},  {6500LL * 1000000 + 4200, 1, false, true},
    };
    for (const auto& e : table) {
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

TEST(Timeline, NextSkipsTheTransmissionItsContinuationAndScanDelay) {
    Timeline scan(Steps("step 1000 hit line2=B\nstep 1000 hit cont line2=B2\nstep 500 idle line2=C\n"), 2000, false);
    scan.Update(1500);
    EXPECT_EQ(scan.StepIndex(), 1u);
    EXPECT_TRUE(scan.View().receiving);  // no scan delay inside a continued transmission
    scan.Update(2000);
    EXPECT_TRUE(scan.InScanDelay());
    scan.Next(2100);
    EXPECT_EQ(scan.StepIndex(), 2u);
    EXPECT_FALSE(scan.InScanDelay());
    scan.Update(2599);  // the skipped-to step plays its full length from the key press
    EXPECT_EQ(scan.StepIndex(), 2u);
    scan.Update(2600);
    EXPECT_EQ(scan.StepIndex(), 0u);
    scan.Update(2700);
    scan.Next(2700);
    EXPECT_EQ(scan.StepIndex(), 2u);  // from the start of the transmission too
}

}  // namespace
}  // namespace quorvane
