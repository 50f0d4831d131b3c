#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "base/Numbers.h"

using namespace quorvane;

TEST(LeadingNumber, TakesTheNumberTheTextStartsWith) {
    const std::pair<const char*, double> cases[] = {
        {"12abc", 12}, {"abc", 0},  {" 7", 7},        {"", 0},       {"-3", -3},       {"1234.5", 1234.5},
        {".5", 0.5},   {"-", 0},    {"\"4\"", 0},     {"1e3", 1000}, {"2.5E-1ms", 0.25}, {"7e", 7},
        {"8e+x", 8},   {"  -17.25xyz", -17.25}, {"\t+4", 4}, {"1,5", 1},
        // Beyond a double: too small is 0 (it used to read as an infinity), too big an infinity of its sign.
        {"1e-400", 0}, {"-1e-400", 0}, {"1e400", INFINITY}, {"-1e400", -INFINITY},
    };
    for (const auto& [line, expected] : cases) EXPECT_DOUBLE_EQ(LeadingNumber(line), expected) << line;
}

TEST(WholeNumber, TakesOnlyDigitsInRange) {
    struct Case {
        const char* text;
        long long low, high;
        std::optional<long long> expected;
    };
    const Case cases[] = {
        {"65535", 1, 65535, 65535}, {"0", 1, 65535, std::nullopt}, {"65536", 1, 65535, std::nullopt},
        {"", 0, 9, std::nullopt},   {" 5", 0, 9, std::nullopt},     {"5 ", 0, 9, std::nullopt},
        {"+5", 0, 9, std::nullopt}, {"-5", 0, 9, std::nullopt},     {"-5", -9, 9, -5},
        {"0x1", 0, 99, std::nullopt}, {"99999999999999999999", 0, 99, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(WholeNumber(c.text, c.low, c.high), c.expected) << c.text;
    EXPECT_EQ(WholeNumber("-999999999"), -999999999);
    EXPECT_EQ(WholeNumber("1000000000"), std::nullopt);
}
