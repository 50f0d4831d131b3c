#include <gtest/gtest.h>

#include "tools/Frequency.h"

namespace quorvane {
namespace {

struct PadCase {
    std::string typed;
    std::string digits;
};

class PadFrequencyTable : public ::testing::TestWithParam<PadCase> {};

TEST_P(PadFrequencyTable, GivesTheScannerDigits) {
    EXPECT_EQ(PadFrequency(GetParam().typed), GetParam().digits) << GetParam().typed;
}

INSTANTIATE_TEST_SUITE_P(
    Typed, PadFrequencyTable,
    ::testing::Values(PadCase{"162.55", "01625500"}, PadCase{"855.2375", "08552375"},
                      PadCase{"1240.0", "12400000"}, PadCase{"12345.6", "123456000"},
                      PadCase{"462.56250", "046256250"}, PadCase{"1.5", "00015000"},
                      PadCase{"1.2.3", "00012000"}, PadCase{".5", "00005000"}, PadCase{"162.", "01620000"},
                      PadCase{"162.55625", "016255625"}, PadCase{"1240.1", "12401000"},
                      PadCase{".", "00000000"}, PadCase{" 16.a", "0 16a000"},
                      // No point: a whole part with an empty fraction.
                      PadCase{"162", "01620000"}, PadCase{"", "00000000"}));

}  // namespace
}  // namespace quorvane
