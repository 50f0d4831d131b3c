#pragma once
#include <optional>
#include <string>
#include <vector>

namespace quorvane {

// The seven window layouts, from the whole window down to the one-line
// floating display bar. The order is the order of the minus button's steps.
enum class LayoutMode {
    Full,
    Maxi,
    Mini,
    DisplayAndHold,
    DisplayOnly,
    DisplayOnlyNoWindowsJunk,
    DisplayFloatingTaskbar,
};

// The full layout keeps the window's designed client area, whatever frame
// the window manager draws around it (the outer size of the step tables
// counts a frame of its own).
inline constexpr int kFullClientWidth = 11625;
inline constexpr int kFullClientHeight = 8370;

// "full", "maxi", ... as the layout is known by name.
const char* LayoutModeName(LayoutMode mode);
// The number saved on line 7 of pgm_settings.txt: 1 "full" .. 7 "display_floating_taskbar".
int LayoutModeCode(LayoutMode mode);
// The two smallest layouts have no title bar and are dragged by their client area.
bool IsFramelessLayout(LayoutMode mode);

// A control that a step moves, by its object name; a missing coordinate stays.
struct ControlMove {
    std::string name;
    std::optional<int> left;  // twips
    std::optional<int> top;
};

// One row of a step table: where it leads, the window's outer size (frame and
// title bar included), the frame and dragging where the row changes them, the
// control moves and whether the floating display bar shows.
struct LayoutStep {
    LayoutMode to;
    int outerWidth;  // twips
    int outerHeight;
    std::optional<bool> titlebar;
    std::optional<bool> autoDrag;
    std::vector<ControlMove> moves;
    std::optional<bool> floatingTaskbarShown;
};

// The row of the minus button's (down) or plus button's (up) table for the
// current layout; none where the table has no row ("display_floating_taskbar"
// going down, "full" going up): then nothing changes.
std::optional<LayoutStep> LayoutStepDown(LayoutMode from);
std::optional<LayoutStep> LayoutStepUp(LayoutMode from);

// How a saved layout code is brought back at start-up: the layout is first
// entered by name only (nothing moves), then given an outer size where one is
// listed, then stepped down the given number of times. A code outside 2..7
// leaves the window in the full layout it was built with.
struct LayoutRestore {
    LayoutMode enteredByName;
    std::optional<int> outerWidth;  // twips
    std::optional<int> outerHeight;
    int stepsDown;
};
LayoutRestore LayoutRestoreFor(int code);

}  // namespace quorvane
