#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "app/LayoutModes.h"
#include "app/SettingsFiles.h"

using namespace quorvane;

namespace {

using Places = std::map<std::string, std::pair<int, int>>;  // name -> left, top in twips

const Places kDesigned = {
    {"key_f", {6840, 225}},     {"key_menu", {7485, 225}},  {"key_right", {8775, 225}},
    {"key_hold", {4095, 225}},  {"Picture2", {150, 180}},   {"button_mini_plus_hold_win", {1830, 20}},
    {"button_maxi_plus_hold_win", {2070, 20}},
};

// What a window following the tables holds: its layout, the moved controls'
// places, its frame and the floating bar.
struct Window {
    LayoutMode mode = LayoutMode::Full;
    Places places = kDesigned;
    bool titlebar = true;
    bool autoDrag = false;
    bool barShown = false;
    std::pair<int, int> outer{0, 0};

    bool Apply(const std::optional<LayoutStep>& step) {
        if (!step) return false;
        outer = {step->outerWidth, step->outerHeight};
        if (step->titlebar) titlebar = *step->titlebar;
        if (step->autoDrag) autoDrag = *step->autoDrag;
        for (const ControlMove& move : step->moves) {
            auto& place = places.at(move.name);
            if (move.left) place.first = *move.left;
            if (move.top) place.second = *move.top;
        }
        if (step->floatingTaskbarShown) barShown = *step->floatingTaskbarShown;
        mode = step->to;
        return true;
    }
    void Restore(int code) {
        const LayoutRestore restore = LayoutRestoreFor(code);
        mode = restore.enteredByName;
        if (restore.outerWidth) outer = {*restore.outerWidth, *restore.outerHeight};
        for (int i = 0; i < restore.stepsDown; ++i) Apply(LayoutStepDown(mode));
    }
};

}  // namespace

TEST(LayoutModes, SixStepsDownVisitEveryLayoutAndSixUpBringBackTheDesignedWindow) {
    struct Expected {
        const char* name;
        int code, width, height;
        bool titlebar;
    };
    const Expected down[] = {
        {"maxi", 2, 11745, 3150, true},
        {"mini", 3, 6870, 3150, true},
        {"display_and_hold", 4, 4150, 3150, true},
        {"display_only", 5, 4150, 2675, true},
        {"display_only_no_windows_junk", 6, 4060, 2300, false},
        {"display_floating_taskbar", 7, 4560, 250, false},
    };
    Window w;
    Places miniFromMaxi;
    for (const Expected& e : down) {
        ASSERT_TRUE(w.Apply(LayoutStepDown(w.mode)));
        if (w.mode == LayoutMode::Mini) miniFromMaxi = w.places;
        EXPECT_STREQ(LayoutModeName(w.mode), e.name);
        EXPECT_EQ(LayoutModeCode(w.mode), e.code);
        EXPECT_EQ(w.outer, std::make_pair(e.width, e.height)) << e.name;
        EXPECT_EQ(w.titlebar, e.titlebar) << e.name;
        EXPECT_EQ(w.autoDrag, !e.titlebar) << e.name;
    }
    EXPECT_TRUE(w.barShown);
    EXPECT_EQ(w.places.at("Picture2").second, 5000);
    EXPECT_EQ(w.places.at("button_mini_plus_hold_win"), std::make_pair(3930, 50));
    const Window atBottom = w;
    EXPECT_FALSE(w.Apply(LayoutStepDown(w.mode)));
    EXPECT_EQ(w.mode, atBottom.mode);

    for (int i = 5; i >= 1; --i) {
        ASSERT_TRUE(w.Apply(LayoutStepUp(w.mode)));
        EXPECT_STREQ(LayoutModeName(w.mode), down[i - 1].name);
        EXPECT_EQ(w.outer, std::make_pair(down[i - 1].width, down[i - 1].height));
        EXPECT_EQ(w.titlebar, down[i - 1].titlebar);
        // "mini" puts the three keys at the same places from either side.
        if (w.mode == LayoutMode::Mini) {
            EXPECT_EQ(w.places, miniFromMaxi);
        }
    }
    EXPECT_EQ(miniFromMaxi.at("key_f"), std::make_pair(4755, 2025));
    EXPECT_EQ(miniFromMaxi.at("key_right"), std::make_pair(6090, 2025));
    ASSERT_TRUE(w.Apply(LayoutStepUp(w.mode)));
    EXPECT_EQ(w.mode, LayoutMode::Full);
    EXPECT_EQ(w.outer, std::make_pair(11745, 8745));
    EXPECT_EQ(w.places, kDesigned);
    EXPECT_FALSE(w.barShown);
    EXPECT_FALSE(w.autoDrag);
    EXPECT_FALSE(w.Apply(LayoutStepUp(w.mode)));
}

TEST(LayoutModes, SavedCodesRestoreTheirLayout) {
    // Line 7 of pgm_settings.txt as saved, and the layout it brings back.
    using enum LayoutMode;
    const std::pair<const char*, LayoutMode> cases[] = {
        {"0", Full},  {"1", Full}, {"2", Maxi}, {"3", Mini}, {"4", DisplayAndHold}, {"5", DisplayOnly},
        {"6", DisplayOnlyNoWindowsJunk}, {"7", DisplayFloatingTaskbar}, {"8", Full}, {"", Full}, {"mini", Full},
    };
    for (const auto& [line, expected] : cases) {
        const int code = ReadPgmSettings(std::string("0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n") + line + "\r\n").layoutCode;
        Window w;
        w.Restore(code);
        EXPECT_EQ(w.mode, expected) << "line 7: '" << line << "'";
        EXPECT_EQ(w.titlebar, !IsFramelessLayout(expected)) << line;
        EXPECT_EQ(w.barShown, expected == LayoutMode::DisplayFloatingTaskbar) << line;
    }
    // "display_and_hold" is entered from "mini" by name only: the keys stay designed.
    Window hold;
    hold.Restore(4);
    EXPECT_EQ(hold.outer, std::make_pair(4150, 3150));
    EXPECT_EQ(hold.places, kDesigned);
}
