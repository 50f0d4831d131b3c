#include "input/KeyTable.h"

#include <gtest/gtest.h>

#include <set>

namespace quorvane {
namespace {

// What a user's hand needs of the keypad: every key once, none on another.
TEST(KeyTable, EveryKeyHasItsOwnNameAndPlace) {
    std::set<std::string> names;
    const auto& keys = KeyRows();
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_TRUE(names.insert(keys[i].objectName).second) << keys[i].objectName;
        EXPECT_EQ(FindKey(keys[i].objectName), &keys[i]);
        const KeyPlace& a = keys[i].place;
        EXPECT_GT(a.width, 0);
        EXPECT_GT(a.height, 0);
        for (size_t j = i + 1; j < keys.size(); ++j) {
            const KeyPlace& b = keys[j].place;
            const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left ||
                               a.top + a.height <= b.top || b.top + b.height <= a.top;
            EXPECT_TRUE(apart) << keys[i].objectName << " on " << keys[j].objectName;
        }
    }
    EXPECT_EQ(FindKey("key_nowhere"), nullptr);
}

}  // namespace
}  // namespace quorvane
