#include "monitor/HitIntelTable.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(HitIntelTable, LoadsLinesWithAnyLineEndAndKeepsEntriesPastTheFile) {
    struct Case { std::string bytes; std::vector<std::string> lines; };
    const Case cases[] = {
        {"a\tb\r\nc\r\n\r\n", {"a\tb", "c", ""}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r\n\nc", {"a", "b", "", "c"}},
        {"x\x82\xff \t\r\n", {"x\x82\xff \t"}},
        {"", {}},
    };
    for (const Case& c : cases) {
        HitIntelTable table;
        table.SetEntry(c.lines.size(), "kept");
        EXPECT_EQ(table.LoadLines(c.bytes), c.lines.size());
        for (size_t i = 0; i < c.lines.size(); ++i) EXPECT_EQ(table.Entry(i), c.lines[i]) << i;
        EXPECT_EQ(table.Entry(c.lines.size()), "kept");
    }
}

TEST(HitIntelTable, StoresAtMostTheFirst6001Lines) {
    std::string bytes;
    for (int i = 0; i < 7000; ++i) bytes += std::to_string(i) + "\r\n";
    HitIntelTable table;
    EXPECT_EQ(table.LoadLines(bytes), 6001u);
    EXPECT_EQ(table.Entry(6000), "6000");
    EXPECT_EQ(table.Entry(6001), "");  // beyond the table
}

}  // namespace
}  // namespace quorvane
