#include <gtest/gtest.h>

#include "link/Fields.h"

using namespace quorvane;

TEST(TextHelpers, SplitKeepsEveryEmptyPieceRemoveReplaceTrim) {
    EXPECT_EQ(SplitFields("a,,b,", ','), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(SplitFields("", ','), (std::vector<std::string>{""}));
    EXPECT_EQ(SplitFields("x\r\ny\r\n", "\r\n"), (std::vector<std::string>{"x", "y", ""}));
    EXPECT_EQ(SplitFields("\x82,\xff", ',').at(1), "\xff");
    EXPECT_EQ(RemoveAll("KEYOK154OK", "OK"), "KEY154");
    EXPECT_EQ(ReplaceAll("a b c", " ", "--"), "a--b--c");
    EXPECT_EQ(TrimBlanks("  a b  "), "a b");
    EXPECT_EQ(TrimBlanks("   "), "");
}
