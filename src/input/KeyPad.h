#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input/KeyTable.h"
#include "input/Step.h"

namespace quorvane {

// What one click (or the shortcut or wheel step standing for it) does.
struct KeyClick {
    std::vector<Step> steps;             // to run in order (see SequenceQueue)
    std::optional<KeyPicture> picture;   // latching keys: the picture to show now
    bool stopsQuickScan = false;         // stop the quick scan before the steps
    std::string error;                   // a refused macro: tell the user, send nothing
};

// The keypad's state: the two latches. Both start empty (released); any
// value but "1" counts as released. They change only by clicks on their
// own keys and are never reconciled with the scanner.
class KeyPad {
public:
    // The click action of a key. For key_m1..key_m3 macroText is the text of
    // the matching macro box, read at click time. A name that is not a key
    // gives an empty result.
    KeyClick Click(std::string_view objectName, std::string_view macroText = {});

    const std::string& FunctionHeld() const { return functionHeld_; }
    const std::string& ReverseHeld() const { return reverseHeld_; }

private:
    std::string& LatchOf(KeyLatch latch);

    std::string functionHeld_;
    std::string reverseHeld_;
};

}  // namespace quorvane
