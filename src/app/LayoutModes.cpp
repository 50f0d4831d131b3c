#include "app/LayoutModes.h"

namespace quorvane {
namespace {

// Outer sizes in twips, as the window manager measures the whole window.
constexpr int kWideWidth = 11745;
constexpr int kFullHeight = 8745;
constexpr int kTopBandHeight = 3150;
constexpr int kMiniWidth = 6870;
constexpr int kDisplayWidth = 4150;
constexpr int kDisplayOnlyHeight = 2675;
constexpr int kBareWidth = 4060;
constexpr int kBareHeight = 2300;
constexpr int kBarWidth = 4560;
constexpr int kBarHeight = 250;

// "mini" has no room for the keypad's top row: F, MENU and the right arrow
// come down beside the display; every larger layout has them at their
// designed places.
std::vector<ControlMove> ThreeKeysBesideDisplay() {
    return {{"key_f", 4755, 2025}, {"key_menu", 5430, 2025}, {"key_right", 6090, 2025}};
}
std::vector<ControlMove> ThreeKeysDesigned() {
    return {{"key_f", 6840, 225}, {"key_menu", 7485, 225}, {"key_right", 8775, 225}};
}

// The floating bar: the layout buttons sit at its right end, the display
// panel and the hold key go out of sight.
std::vector<ControlMove> BarPlaces() {
    return {{"button_mini_plus_hold_win", 3930, 50},
            {"button_maxi_plus_hold_win", 4170, 50},
            {"Picture2", std::nullopt, 5000},
            {"key_hold", std::nullopt, 5000}};
}
std::vector<ControlMove> DesignedPlacesAfterBar() {
    return {{"button_mini_plus_hold_win", 1830, 20},
            {"button_maxi_plus_hold_win", 2070, 20},
            {"Picture2", std::nullopt, 180},
            {"key_hold", std::nullopt, 225}};
}

}  // namespace

const char* LayoutModeName(LayoutMode mode) {
    switch (mode) {
        case LayoutMode::Full: return "full";
        case LayoutMode::Maxi: return "maxi";
        case LayoutMode::Mini: return "mini";
        case LayoutMode::DisplayAndHold: return "display_and_hold";
        case LayoutMode::DisplayOnly: return "display_only";
        case LayoutMode::DisplayOnlyNoWindowsJunk: return "display_only_no_windows_junk";
        case LayoutMode::DisplayFloatingTaskbar: return "display_floating_taskbar";
    }
    return "";
}

int LayoutModeCode(LayoutMode mode) { return static_cast<int>(mode) + 1; }

bool IsFramelessLayout(LayoutMode mode) {
    return mode == LayoutMode::DisplayOnlyNoWindowsJunk || mode == LayoutMode::DisplayFloatingTaskbar;
}

std::optional<LayoutStep> LayoutStepDown(LayoutMode from) {
    switch (from) {
        case LayoutMode::Full:
            return LayoutStep{LayoutMode::Maxi, kWideWidth, kTopBandHeight, {}, {}, {}, {}};
        case LayoutMode::Maxi:
            return LayoutStep{LayoutMode::Mini, kMiniWidth, kTopBandHeight, {}, {}, ThreeKeysBesideDisplay(), {}};
        case LayoutMode::Mini:
            return LayoutStep{LayoutMode::DisplayAndHold, kDisplayWidth, kTopBandHeight, {}, {}, {}, {}};
        case LayoutMode::DisplayAndHold:
            return LayoutStep{LayoutMode::DisplayOnly, kDisplayWidth, kDisplayOnlyHeight, {}, {}, {}, {}};
        case LayoutMode::DisplayOnly:
            return LayoutStep{LayoutMode::DisplayOnlyNoWindowsJunk, kBareWidth, kBareHeight, false, true, {}, {}};
        case LayoutMode::DisplayOnlyNoWindowsJunk:
            return LayoutStep{LayoutMode::DisplayFloatingTaskbar, kBarWidth, kBarHeight, false, true, BarPlaces(),
                              true};
        case LayoutMode::DisplayFloatingTaskbar:
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<LayoutStep> LayoutStepUp(LayoutMode from) {
    switch (from) {
        case LayoutMode::Full:
            return std::nullopt;
        case LayoutMode::Maxi:
            return LayoutStep{LayoutMode::Full, kWideWidth, kFullHeight, {}, {}, {}, {}};
        case LayoutMode::Mini:
            return LayoutStep{LayoutMode::Maxi, kWideWidth, kTopBandHeight, {}, {}, ThreeKeysDesigned(), {}};
        case LayoutMode::DisplayAndHold:
            return LayoutStep{LayoutMode::Mini, kMiniWidth, kTopBandHeight, {}, {}, ThreeKeysBesideDisplay(), {}};
        case LayoutMode::DisplayOnly:
            return LayoutStep{LayoutMode::DisplayAndHold, kDisplayWidth, kTopBandHeight, {}, {}, {}, {}};
        case LayoutMode::DisplayOnlyNoWindowsJunk:
            return LayoutStep{LayoutMode::DisplayOnly, kDisplayWidth, kDisplayOnlyHeight, true, false, {}, {}};
        case LayoutMode::DisplayFloatingTaskbar:
            return LayoutStep{LayoutMode::DisplayOnlyNoWindowsJunk, kBareWidth, kBareHeight, false, true,
                              DesignedPlacesAfterBar(), false};
    }
    return std::nullopt;
}

LayoutRestore LayoutRestoreFor(int code) {
    switch (code) {
        case 7: return {LayoutMode::DisplayOnly, {}, {}, 2};
        case 6: return {LayoutMode::DisplayOnly, {}, {}, 1};
        case 5: return {LayoutMode::DisplayOnly, kDisplayWidth, kDisplayOnlyHeight, 0};
        case 4: return {LayoutMode::Mini, {}, {}, 1};
        case 3: return {LayoutMode::Maxi, {}, {}, 1};
        case 2: return {LayoutMode::Full, {}, {}, 1};
        default: return {LayoutMode::Full, {}, {}, 0};
    }
}

}  // namespace quorvane
