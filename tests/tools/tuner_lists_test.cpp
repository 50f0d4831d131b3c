#include <gtest/gtest.h>

#include "tools/QuickScan.h"
#include "tools/SkipListText.h"

namespace quorvane {
namespace {

using Sent = std::vector<std::string>;

Sent Ticks(QuickScan& scan, int count, bool hitActive = false) {
    Sent sent;
    for (int i = 0; i < count; ++i) sent.push_back(scan.Tick(hitActive).value_or("-"));
    return sent;
}

TEST(QuickScan, StepsThroughTheListWrapsWithOneSilentTickAndHoldsForAHit) {
    QuickScan scan;
    EXPECT_EQ(Ticks(scan, 2), (Sent{"-", "-"}));  // not started
    scan.Toggle("162.55\r\n155.475 nfm\r\n121.5 AM");
    ASSERT_TRUE(scan.Running());
    EXPECT_EQ(Ticks(scan, 6), (Sent{"QSH,01625500,0,FM,0,.,.,.,.,.", "QSH,01554750,0,NFM,0,.,.,.,.,.",
                                    "QSH,01215000,0,AM,0,.,.,.,.,.", "-", "QSH,01625500,0,FM,0,.,.,.,.,.",
                                    "QSH,01554750,0,NFM,0,.,.,.,.,."}));
    EXPECT_EQ(Ticks(scan, 3, true), (Sent{"-", "-", "-"}));
    EXPECT_EQ(scan.Position(), 2u);
    EXPECT_EQ(Ticks(scan, 1), Sent{"QSH,01215000,0,AM,0,.,.,.,.,."});
    // SCAN stops it where it is; the button restarts at entry 0 with the list as it is now.
    scan.Stop();
    EXPECT_EQ(Ticks(scan, 1), Sent{"-"});
    EXPECT_EQ(scan.Position(), 3u);
    scan.Toggle("460.025\nhello\n162.55");
    EXPECT_EQ(Ticks(scan, 3), (Sent{"QSH,04600250,0,FM,0,.,.,.,.,.", "-", "QSH,04600250,0,FM,0,.,.,.,.,."}));
    scan.Toggle("");  // the button while running stops it
    EXPECT_FALSE(scan.Running());
    EXPECT_EQ(Ticks(scan, 1), Sent{"-"});
    // Started again with a shorter list, it never walks on into the old one.
    scan.Toggle("121.5");
    EXPECT_EQ(Ticks(scan, 3), (Sent{"QSH,01215000,0,FM,0,.,.,.,.,.", "-", "QSH,01215000,0,FM,0,.,.,.,.,."}));
}

TEST(QuickScan, TheUserIsToldWhichLineIsNotAFrequency) {
    const struct {
        const char* list;
        std::optional<std::size_t> first;
    } cases[] = {
        {"162.55\n155.475 nfm\n121.5 AM\n\n1240.0000", std::nullopt},
        {"154.4300155.3400460.0250", 0},  // three frequencies run together
        {"162.55\nhello", 1},
        {"162", 0},
        {"162.55 nfm extra", 0},
        {"12345.5", 0},
        {"162.555555", 0},
        {"162.55x", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(FirstLineNotAFrequency(SplitListLines(c.list)), c.first) << c.list;
}

TEST(QuickScan, AFullListWrapsAfterEntryThousandAndExtraLinesAreCounted) {
    std::string text;
    for (int i = 0; i < 1200; ++i) text += std::to_string(100 + i) + ".5\r\n";
    QuickScan scan;
    const ListLines lines = scan.Toggle(text);
    EXPECT_EQ(LinesUsedNote(lines), "1001 of 1201 lines used");
    EXPECT_EQ(scan.Entry(1000), (QuickScanEntry{"11005000", "FM"}));
    Ticks(scan, 1001);
    EXPECT_EQ(Ticks(scan, 2), (Sent{"-", "QSH,01005000,0,FM,0,.,.,.,.,."}));
    EXPECT_EQ(LinesUsedNote(SplitListLines("1.5\n2.5")), "");
}

TEST(SkipListText, ApplyFillsFromTheLinesAndKeepsLaterEntries) {
    SkipList list;
    ApplySkipListText(list, "154.43\r\n12345\r\n460.025\r\n154.43 nfm");
    EXPECT_TRUE(list.Enabled());
    EXPECT_EQ((Sent{list.Entry(0), list.Entry(1), list.Entry(2), list.Entry(3), list.Entry(4)}),
              (Sent{"01544300", "12345", "04600250", "015443 nfm", ""}));
    ApplySkipListText(list, "162.55");  // entries 1 to 3 stay in force
    EXPECT_EQ((Sent{list.Entry(0), list.Entry(1), list.Entry(3)}), (Sent{"01625500", "12345", "015443 nfm"}));
    ApplySkipListText(list, "\r\n777");
    EXPECT_FALSE(list.Enabled());
    EXPECT_EQ(list.Entry(1), "777");
    ApplySkipListText(list, "555");
    ASSERT_TRUE(list.Enabled());
    ApplySkipListText(list, "");
    EXPECT_FALSE(list.Enabled());
    std::string many;
    for (int i = 0; i < 1100; ++i) many += std::to_string(i) + "\r\n";
    EXPECT_EQ(LinesUsedNote(ApplySkipListText(list, many)), "1001 of 1101 lines used");
    EXPECT_EQ(list.Entry(1000), "1000");
}

}  // namespace
}  // namespace quorvane
