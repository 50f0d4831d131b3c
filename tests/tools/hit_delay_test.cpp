#include <limits>

#include <gtest/gtest.h>

#include "tools/HitDelay.h"

namespace quorvane {
namespace {

struct DelayCase {
    std::string text;
    long long milliseconds;
};

class HitDelayText : public ::testing::TestWithParam<DelayCase> {};

TEST_P(HitDelayText, LeadingNumberRoundedHalfToEven) {
    EXPECT_EQ(HitDelayFromText(GetParam().text), GetParam().milliseconds) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HitDelayText,
    ::testing::Values(DelayCase{"25", 25}, DelayCase{"250", 250}, DelayCase{"2000", 2000},
                      DelayCase{"", 0}, DelayCase{"abc", 0}, DelayCase{"ms 250", 0}, DelayCase{".", 0},
                      DelayCase{"-", 0}, DelayCase{"  300 ms", 300}, DelayCase{"\t40", 40},
                      DelayCase{"+12", 12}, DelayCase{"-5", -5}, DelayCase{"0.5", 0}, DelayCase{"1.5", 2},
                      DelayCase{"2.5", 2}, DelayCase{"3.5", 4}, DelayCase{"2.51", 3}, DelayCase{"-2.5", -2},
                      DelayCase{"-3.5", -4}, DelayCase{".6", 1}, DelayCase{"7.", 7}, DelayCase{"1e3", 1000},
                      DelayCase{"2E-1", 0}, DelayCase{"4e", 4}, DelayCase{"4e+", 4}, DelayCase{"32767", 32767},
                      DelayCase{"32768", 32768}, DelayCase{"1e999", std::numeric_limits<long long>::max()},
                      DelayCase{"-1e999", std::numeric_limits<long long>::min()}, DelayCase{"1e-999", 0},
                      DelayCase{"99999999999999999999", std::numeric_limits<long long>::max()}));

TEST(HitDelay, UsableRangeIsZeroTo32767) {
    EXPECT_TRUE(IsUsableHitDelay(0));
    EXPECT_TRUE(IsUsableHitDelay(32767));
    EXPECT_FALSE(IsUsableHitDelay(-1));
    EXPECT_FALSE(IsUsableHitDelay(32768));
}

}  // namespace
}  // namespace quorvane
