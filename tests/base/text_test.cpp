#include <gtest/gtest.h>

#include "base/AsciiCase.h"
#include "base/Csv.h"
#include "base/Fields.h"

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

TEST(TextHelpers, CaseAndTrimLeaveBytesAboveAsciiAlone) {
    EXPECT_EQ(LowerAscii("ABC \xC4\xD6 xY"), "abc \xC4\xD6 xy");
    EXPECT_TRUE(EqualsIgnoringCase("Bearer", "bEARER"));
    EXPECT_FALSE(EqualsIgnoringCase("\xC4", "\xE4"));
    EXPECT_EQ(Trimmed("\t a \t"), "a");
    EXPECT_EQ(Trimmed(" a\r", " \r"), "a");
    EXPECT_EQ(TrimTrailing("  a  "), "  a");
}

TEST(Csv, FormulaStartsAreGuardedAndComeBackAsTheyWere) {
    for (const std::string cell : {"=1+1", "+4", "-3", "@x", "\tx", "plain", "a,b"}) {
        std::string out;
        AppendCsvField(out, cell);
        const std::string unquoted = out.front() == '"' ? out.substr(1, out.size() - 2) : out;
        EXPECT_EQ(unquoted.front() == '\'', cell.find_first_of("=+-@\t") == 0) << cell;
        EXPECT_EQ(UnguardedCsvCell(unquoted), cell) << cell;
    }
}
