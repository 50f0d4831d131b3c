#include "input/KeyNames.h"

#include <gtest/gtest.h>
#include <set>

#include "input/KeyTable.h"

using namespace quorvane;

TEST(KeyNames, EveryKeyHasItsOwnSpokenNameNeverItsObjectName) {
    std::set<std::string> seen;
    for (const KeyRow& row : KeyRows()) {
        const KeyName name = SpokenKeyName(row.objectName);
        EXPECT_FALSE(name.spoken.empty()) << row.objectName;
        EXPECT_NE(name.spoken, row.objectName);
        EXPECT_TRUE(seen.insert(name.spoken).second) << "said twice: " << name.spoken;
    }
    EXPECT_EQ(SpokenKeyName("Text1").spoken, "");
}

TEST(KeyNames, KeysPlayedWithFunctionSayWhichKeyTheyPress) {
    struct Case {
        const char* key;
        const char* spoken;
        const char* hint;
    } cases[] = {
        {"key_left", "Knob left", "Turns the knob one step anticlockwise"},
        {"key_f", "Function", "Holds or releases the function key"},
        {"key_g1", "Group 1", "Function and 1"},
        {"key_g0", "Group 0", "Function and 0"},
        {"key_cc", "Close Call", "Function and Hold"},
        {"key_lock", "Lock", "Function and Light"},
        {"key_cconly", "Close Call only", "Sets Close Call only through the menu"},
        {"key_hold", "Hold", ""},
    };
    for (const Case& c : cases) {
        const KeyName name = SpokenKeyName(c.key);
        EXPECT_EQ(name.spoken, c.spoken) << c.key;
        EXPECT_EQ(name.hint, c.hint) << c.key;
    }
}
