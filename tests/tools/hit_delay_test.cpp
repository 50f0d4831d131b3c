#include <limits>

#include <gtest/gtest.h>

#include "tools/HitDelay.h"

namespace quorvane {
namespace {

TEST(HitDelay, LeadingNumberRoundedHalfToEven) {
    const std::pair<const char*, long long> cases[] = {
        {"250", 250}, {"  300 ms", 300}, {"\t40", 40}, {"abc", 0},    {"", 0},  {"-5", -5},
        {"2.5", 2},   {"3.5", 4},        {"-2.5", -2}, {".6", 1},     {"1e3", 1000}, {"4e", 4},
        {"1e999", std::numeric_limits<long long>::max()},
    };
    for (const auto& [text, milliseconds] : cases) EXPECT_EQ(HitDelayFromText(text), milliseconds) << text;
}

}  // namespace
}  // namespace quorvane
