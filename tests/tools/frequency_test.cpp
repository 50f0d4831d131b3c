#include <gtest/gtest.h>

#include "tools/Frequency.h"

namespace quorvane {
namespace {

TEST(PadFrequency, GivesTheScannerDigits) {
    const std::pair<const char*, const char*> cases[] = {
        {"162.55", "01625500"},     {"855.2375", "08552375"}, {"1240.0", "12400000"},
        {"12345.6", "123456000"},   {"162.55625", "016255625"}, {"1.2.3", "00012000"},
        {".5", "00005000"},         {"162.", "01620000"},     {" 16.a", "0 16a000"},
        {"162", "01620000"},        {"", "00000000"},
    };
    for (const auto& [typed, digits] : cases) EXPECT_EQ(PadFrequency(typed), digits) << typed;
}

}  // namespace
}  // namespace quorvane
