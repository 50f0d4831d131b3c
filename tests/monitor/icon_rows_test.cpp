#include "monitor/IconRows.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(IconRows, LabelsRunTogetherAndDarkIconsAreBlanks) {
    const std::string lit1(15, '1'), lit2(17, '1');
    const std::string allLit1 = "SYS 1234567890ATT PRI KEYL BAT ", allLit2 = "GRP 1234567890AM NFM L/O F CC";
    const std::string dark1(28, ' '), dark2(26, ' ');
    struct Case { std::string flags1, flags2, row1, row2; };
    const Case cases[] = {
        {lit1, lit2, allLit1, allLit2},                                 // 31 and 29 characters
        {std::string(15, '0'), std::string(17, '0'), dark1, dark2},     // 28 and 26 blanks
        {"0" + lit1.substr(1), lit2, allLit1.substr(3), allLit2},       // dark SYS is one blank
        {"", "00000000000011000", dark1, std::string(14, ' ') + "NFM " + std::string(8, ' ')},
        {"", "00000000000010000", dark1, std::string(14, ' ') + "N   " + std::string(8, ' ')},
        {lit1 + "0101", lit2 + "1111", allLit1, allLit2},               // extra characters ignored
        {"1", "x1", "SYS " + std::string(27, ' '), " 1" + std::string(24, ' ')},  // short, odd
        {"", "", dark1, dark2},
    };
    for (const Case& c : cases) {
        const IconRows rows = MakeIconRows(c.flags1, c.flags2);
        EXPECT_EQ(rows.Row1, c.row1) << c.flags1;
        EXPECT_EQ(rows.Row2, c.row2) << c.flags2;
    }
}

TEST(IconRows, LitIconsAreSaidInWords) {
    struct Case {
        const char* flags1;
        const char* flags2;
        const char* spoken;
    } cases[] = {
        {"", "", ""},
        {"000000000000000", "00000000000000000", ""},
        {"110100000000000", "", "System 1 3"},
        {"010000000000000", "", "System 1"},
        {"000000000001111", "", "Attenuator, Priority, Key lock, Battery low"},
        {"1", "100000000100111", "System, Group 9, Narrow FM, Lockout"},
        {"", "00000000000100011", "AM, Function, Close Call"},
        {"", "0000000000001", "Narrow"},
        {"100000000000100", "1000000000000001", "System, Priority, Group, Function"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MakeIconRows(c.flags1, c.flags2).Spoken, c.spoken) << c.flags1 << " / " << c.flags2;
    }
}

}  // namespace
}  // namespace quorvane
