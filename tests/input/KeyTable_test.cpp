#include "input/KeyTable.h"

#include <gtest/gtest.h>

#include <set>

namespace quorvane {
namespace {

// The keypad as designed: five rows 450 twips apart, eleven columns, no two keys overlapping.
constexpr int kColumnLeft[] = {4095, 4755, 5430, 6090, 6840, 7485, 8130, 8775, 9435, 10200, 10860};
const char* const kGrid[5][11] = {
    {"hold", "1", "2", "3", "f", "menu", "left", "right", "push", "cc", "cconly"},
    {"scan", "4", "5", "6", "g1", "g2", "g3", "g4", "g5", "pri", "wx"},
    {"lo", "7", "8", "9", "g6", "g7", "g8", "g9", "g0", "srch", "rcl"},
    {"light", "no", "0", "yes", "", "", "m1", "m2", "m3", "rev", "att"},
    {"power", "", "", "", "", "", "", "", "", "", "lock"},
};

TEST(KeyTable, EveryKeySitsWhereDesigned) {
    std::set<std::string> designed = {"key_hold_bar"};
    EXPECT_EQ(FindKey("key_hold_bar")->place, (KeyPlace{285, 2340, 3570, 345}));
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 11; ++column) {
            if (*kGrid[row][column] == '\0') continue;
            const std::string name = std::string("key_") + kGrid[row][column];
            designed.insert(name);
            const KeyRow* key = FindKey(name);
            ASSERT_NE(key, nullptr) << name;
            const KeyPlace place{kColumnLeft[column], 225 + 450 * row, 570, 345};
            EXPECT_EQ(key->place, place) << name;
        }
    }
    std::multiset<std::string> actual;
    for (const KeyRow& key : KeyRows()) actual.insert(key.objectName);
    EXPECT_EQ(actual, std::multiset<std::string>(designed.begin(), designed.end()));

}

}  // namespace
}  // namespace quorvane
