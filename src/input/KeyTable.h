#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "input/Step.h"

namespace quorvane {

// What a key's picture carries besides (or instead of) text; the painter
// draws each of these itself.
enum class KeySymbol {
    None,
    LightBulb,
    Power,
    ClockwiseArrow,
    AnticlockwiseArrow,
    ChevronDown,
    CircledC,          // the close-call key
    CircledCFollowedByO,  // close-call only
    LockKey,           // a key, for the keypad lock
};

enum class MarkSide { Left, Right };

// The legend drawn on a key: main text and/or a symbol, and an optional
// small mark beside the main text (the "<" left of 4, the "Yes" beside E).
struct KeyLegend {
    std::string text;
    KeySymbol symbol = KeySymbol::None;
    std::string mark;
    MarkSide markSide = MarkSide::Right;
};

// Left, Top, Width, Height in twips, as designed for the full layout.
struct KeyPlace {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const KeyPlace&, const KeyPlace&) = default;
};

inline constexpr int kKeyWidthTwips = 570;
inline constexpr int kKeyHeightTwips = 345;
inline constexpr int kHoldBarWidthTwips = 3570;

enum class KeyKind {
    Press,  // fixed steps; the picture shows pressed while the mouse is down
    Latch,  // two step lists chosen by the latch; the click sets the picture
    Macro,  // steps come from the macro text at click time
};

enum class KeyLatch { None, Function, Reverse };
enum class KeyPicture { Released, Pressed };

struct KeyRow {
    std::string objectName;
    KeyLegend legend;
    KeyPlace place;
    KeyKind kind = KeyKind::Press;

    // Press: the click's steps. Latch: the steps when the latch is not "1".
    std::vector<Step> steps;

    // Latch only.
    KeyLatch latch = KeyLatch::None;
    std::vector<Step> stepsWhenHeld;                        // latch is "1"
    KeyPicture pictureAfterSteps = KeyPicture::Pressed;     // after `steps`
    KeyPicture pictureAfterHeldSteps = KeyPicture::Released;  // after `stepsWhenHeld`

    // The click first stops a running quick scan (QuickScanRunning := "0",
    // the quick-scan button back to "Start Quick Scan").
    bool stopsQuickScan = false;

    // Macro only: which macro box (1..3) the key plays.
    int macroNumber = 0;
};

// Every on-screen key, in keypad order (row by row), the hold bar last.
const std::vector<KeyRow>& KeyRows();

// The row of a control, or nullptr for a name that is not a key.
const KeyRow* FindKey(std::string_view objectName);

// Latches and the press feedback: only the latching keys set their picture
// from the click; every other key swaps pictures on mouse down and up.
inline bool SwapsPictureOnMouse(const KeyRow& row) { return row.kind != KeyKind::Latch; }

}  // namespace quorvane
