#include "monitor/SkipList.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

SkipList ListOf(std::initializer_list<const char*> entries) {
    SkipList list;
    size_t i = 0;
    for (const char* entry : entries) list.SetEntry(i++, entry);
    return list;
}

TEST(SkipList, EmptyEntryZeroSwitchesItOffAndOutOfRangeEntriesAreIgnored) {
    SkipList list = ListOf({"", "01544300", "12345"});
    EXPECT_FALSE(list.Enabled());
    EXPECT_EQ(list.SkipPresses("01544300", "12345", "ID:12345"), 0);
    list.SetEntry(0, "99");
    EXPECT_EQ(list.SkipPresses("01544300", "12345", "ID:12345"), 3);
    list.SetEntry(SkipList::kEntryCount, "12345");
    EXPECT_EQ(list.Entry(SkipList::kEntryCount), "");
    EXPECT_EQ(list.SkipPresses("", "12345", ""), 1);
}

TEST(SkipList, CountsEveryMatchOfEveryEntry) {
    const SkipList list = ListOf({"01544300", "12345", "777", "", "12345"});
    struct Case { const char* frequency; const char* talkgroup; const char* line2; int presses; };
    const Case cases[] = {
        {"01544300", "", "Dispatch", 1},
        {"04600250", "12345", "Dispatch", 2},  // listed twice
        {"04600250", "", "ID:777", 1},
        {"04600250", "", "ID:777:North", 1},
        {"04600250", "", "ID:12345", 2},
        {"04600250", "777", "ID:777", 2},
        {"04600250", "", " ID:777", 0},   // must start the line
        {"04600250", "", "id:777", 0},    // case-sensitive
        {"01544300 ", "1234", "ID:7", 0}, // whole-text comparison
        {"", "", "", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(list.SkipPresses(c.frequency, c.talkgroup, c.line2), c.presses)
            << c.frequency << "|" << c.talkgroup << "|" << c.line2;
    }
}

}  // namespace
}  // namespace quorvane
