#include "input/KeyTable.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace quorvane {
namespace {

struct ExpectedPlace {
    const char* name;
    int left;
    int top;
};

// The keypad as designed, written out key by key.
const std::vector<ExpectedPlace> kDesignedPlaces = {
    {"key_hold", 4095, 225},   {"key_1", 4755, 225},      {"key_2", 5430, 225},
    {"key_3", 6090, 225},      {"key_f", 6840, 225},      {"key_menu", 7485, 225},
    {"key_left", 8130, 225},   {"key_right", 8775, 225},  {"key_push", 9435, 225},
    {"key_cc", 10200, 225},    {"key_cconly", 10860, 225},
    {"key_scan", 4095, 675},   {"key_4", 4755, 675},      {"key_5", 5430, 675},
    {"key_6", 6090, 675},      {"key_g1", 6840, 675},     {"key_g2", 7485, 675},
    {"key_g3", 8130, 675},     {"key_g4", 8775, 675},     {"key_g5", 9435, 675},
    {"key_pri", 10200, 675},   {"key_wx", 10860, 675},
    {"key_lo", 4095, 1125},    {"key_7", 4755, 1125},     {"key_8", 5430, 1125},
    {"key_9", 6090, 1125},     {"key_g6", 6840, 1125},    {"key_g7", 7485, 1125},
    {"key_g8", 8130, 1125},    {"key_g9", 8775, 1125},    {"key_g0", 9435, 1125},
    {"key_srch", 10200, 1125}, {"key_rcl", 10860, 1125},
    {"key_light", 4095, 1575}, {"key_no", 4755, 1575},    {"key_0", 5430, 1575},
    {"key_yes", 6090, 1575},   {"key_m1", 8130, 1575},    {"key_m2", 8775, 1575},
    {"key_m3", 9435, 1575},    {"key_rev", 10200, 1575},  {"key_att", 10860, 1575},
    {"key_power", 4095, 2025}, {"key_lock", 10860, 2025},
};

TEST(KeyTable, EveryKeypadKeySitsWhereDesigned) {
    for (const ExpectedPlace& expected : kDesignedPlaces) {
        SCOPED_TRACE(expected.name);
        const KeyRow* row = FindKey(expected.name);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->place, (KeyPlace{expected.left, expected.top, 570, 345}));
    }
}

TEST(KeyTable, HoldBarIsTheWideBarUnderTheDisplay) {
    const KeyRow* bar = FindKey("key_hold_bar");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->place, (KeyPlace{285, 2340, 3570, 345}));
}

TEST(KeyTable, HoldsExactlyTheKeypadAndTheHoldBar) {
    std::set<std::string> expected{"key_hold_bar"};
    for (const ExpectedPlace& p : kDesignedPlaces) expected.insert(p.name);
    std::set<std::string> actual;
    for (const KeyRow& row : KeyRows()) {
        EXPECT_TRUE(actual.insert(row.objectName).second) << "twice: " << row.objectName;
    }
    EXPECT_EQ(actual, expected);
}

TEST(KeyTable, NoTwoKeysOverlap) {
    const std::vector<KeyRow>& rows = KeyRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        for (size_t j = i + 1; j < rows.size(); ++j) {
            const KeyPlace& a = rows[i].place;
            const KeyPlace& b = rows[j].place;
            const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left ||
                               a.top + a.height <= b.top || b.top + b.height <= a.top;
            EXPECT_TRUE(apart) << rows[i].objectName << " overlaps " << rows[j].objectName;
        }
    }
}

TEST(KeyTable, UnknownNameHasNoRow) {
    EXPECT_EQ(FindKey("key_x"), nullptr);
    EXPECT_EQ(FindKey(""), nullptr);
    EXPECT_EQ(FindKey("key_f_down"), nullptr);
}

TEST(KeyTable, KindsAndPictureHandlers) {
    std::map<std::string, KeyKind> special = {{"key_f", KeyKind::Latch},
                                              {"key_rev", KeyKind::Latch},
                                              {"key_m1", KeyKind::Macro},
                                              {"key_m2", KeyKind::Macro},
                                              {"key_m3", KeyKind::Macro}};
    for (const KeyRow& row : KeyRows()) {
        SCOPED_TRACE(row.objectName);
        const auto it = special.find(row.objectName);
        const KeyKind expected = it == special.end() ? KeyKind::Press : it->second;
        EXPECT_EQ(row.kind, expected);
        EXPECT_EQ(SwapsPictureOnMouse(row), expected != KeyKind::Latch);
        EXPECT_EQ(row.stopsQuickScan,
                  row.objectName == "key_scan" || row.objectName == "key_cconly");
    }
    EXPECT_EQ(FindKey("key_f")->latch, KeyLatch::Function);
    EXPECT_EQ(FindKey("key_rev")->latch, KeyLatch::Reverse);
    EXPECT_EQ(FindKey("key_m1")->macroNumber, 1);
    EXPECT_EQ(FindKey("key_m3")->macroNumber, 3);
}

struct ExpectedLegend {
    const char* name;
    const char* text;
    KeySymbol symbol;
    const char* mark;
};

TEST(KeyTable, LegendsForTheArtwork) {
    const std::vector<ExpectedLegend> legends = {
        {"key_hold_bar", "Hold", KeySymbol::None, ""},
        {"key_light", "", KeySymbol::LightBulb, ""},
        {"key_power", "", KeySymbol::Power, ""},
        {"key_4", "4", KeySymbol::None, "<"},
        {"key_6", "6", KeySymbol::None, ">"},
        {"key_yes", "E", KeySymbol::None, "Yes"},
        {"key_no", "No", KeySymbol::None, "."},
        {"key_right", "", KeySymbol::ClockwiseArrow, ""},
        {"key_left", "", KeySymbol::AnticlockwiseArrow, ""},
        {"key_push", "", KeySymbol::ChevronDown, ""},
        {"key_cc", "", KeySymbol::CircledC, ""},
        {"key_cconly", "", KeySymbol::CircledCFollowedByO, ""},
        {"key_lock", "", KeySymbol::LockKey, ""},
        {"key_m2", "M2", KeySymbol::None, ""},
    };
    for (const ExpectedLegend& e : legends) {
        SCOPED_TRACE(e.name);
        const KeyRow* row = FindKey(e.name);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->legend.text, e.text);
        EXPECT_EQ(row->legend.symbol, e.symbol);
        EXPECT_EQ(row->legend.mark, e.mark);
    }
    EXPECT_EQ(FindKey("key_4")->legend.markSide, MarkSide::Left);
    EXPECT_EQ(FindKey("key_6")->legend.markSide, MarkSide::Right);
    for (const KeyRow& row : KeyRows()) {
        EXPECT_TRUE(!row.legend.text.empty() || row.legend.symbol != KeySymbol::None)
            << row.objectName << " has nothing to draw";
    }
}

}  // namespace
}  // namespace quorvane
