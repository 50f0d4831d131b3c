#include "monitor/IconRows.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

const std::string kAllLit1(15, '1');
const std::string kAllLit2(17, '1');

TEST(IconRows, AllLitRunsTheLabelsTogether) {
    const IconRows rows = MakeIconRows(kAllLit1, kAllLit2);
    EXPECT_EQ(rows.Row1, "SYS 1234567890ATT PRI KEYL BAT ");
    EXPECT_EQ(rows.Row1.size(), 31u);
    EXPECT_EQ(rows.Row2, "GRP 1234567890AM NFM L/O F CC");
    EXPECT_EQ(rows.Row2.size(), 29u);
}

TEST(IconRows, AllDarkGivesBlanksOnly) {
    const IconRows rows = MakeIconRows(std::string(15, '0'), std::string(17, '0'));
    EXPECT_EQ(rows.Row1, std::string(28, ' '));
    EXPECT_EQ(rows.Row2, std::string(26, ' '));
}

TEST(IconRows, DarkSystemIconIsOneBlank) {
    const IconRows rows = MakeIconRows("0" + kAllLit1.substr(1), kAllLit2);
    EXPECT_EQ(rows.Row1, " 1234567890ATT PRI KEYL BAT ");
    EXPECT_NE(rows.Row1.rfind("SYS", 0), 0u);
}

TEST(IconRows, NarrowAndFmRunTogether) {
    //                     GRP 1234567890 AM N FM L/O F CC
    EXPECT_EQ(MakeIconRows("", "00000000000011000").Row2,
              std::string(11, ' ') + "   " + "N" + "FM " + std::string(8, ' '));
    EXPECT_EQ(MakeIconRows("", "00000000000010000").Row2,
              std::string(11, ' ') + "   " + "N" + "   " + std::string(8, ' '));
}

TEST(IconRows, ExtraCharactersAreIgnored) {
    const IconRows plain = MakeIconRows(kAllLit1, kAllLit2);
    const IconRows extra = MakeIconRows(kAllLit1 + "0101", kAllLit2 + "1111");
    EXPECT_EQ(extra.Row1, plain.Row1);
    EXPECT_EQ(extra.Row2, plain.Row2);
}

TEST(IconRows, ShortOrOddFieldsStillGiveCompleteRows) {
    const IconRows rows = MakeIconRows("1", "x1");
    EXPECT_EQ(rows.Row1, "SYS " + std::string(27, ' '));
    EXPECT_EQ(rows.Row2, " 1" + std::string(24, ' '));
    EXPECT_EQ(MakeIconRows("", "").Row1.size(), 28u);
}

}  // namespace
}  // namespace quorvane
