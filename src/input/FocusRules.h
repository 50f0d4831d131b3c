#pragma once
#include "input/Shortcuts.h"

namespace quorvane {

// What holds the keyboard focus, as far as the shortcuts care.
enum class FocusHolder {
    Panel,    // the display, the logo or nothing: every shortcut acts
    Key,      // an on-screen key: Space and Enter press that key
    Button,   // a button, check box or the tab bar: Space, Enter and the arrows are its own
    Chooser,  // a list, table, tree, slider or text to read: every key is its own
    TextBox,  // a box the user types into: every key is its own
};

// Whether a shortcut key acts while holder has the focus (otherwise the
// focused control gets the key).
bool ShortcutActs(FocusHolder holder, ShortcutKey key);

}  // namespace quorvane
