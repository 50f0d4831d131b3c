#include "input/KeyPad.h"

#include "input/Macros.h"

namespace quorvane {

std::string& KeyPad::LatchOf(KeyLatch latch) {
    return latch == KeyLatch::Reverse ? reverseHeld_ : functionHeld_;
}

KeyClick KeyPad::Click(std::string_view objectName, std::string_view macroText) {
    KeyClick click;
    const KeyRow* row = FindKey(objectName);
    if (row == nullptr) return click;
    click.stopsQuickScan = row->stopsQuickScan;

    switch (row->kind) {
    case KeyKind::Press:
        click.steps = row->steps;
        break;
    case KeyKind::Latch: {
        std::string& held = LatchOf(row->latch);
        if (held == "1") {
            held = "0";
            click.steps = row->stepsWhenHeld;
            click.picture = row->pictureAfterHeldSteps;
        } else {
            held = "1";
            click.steps = row->steps;
            click.picture = row->pictureAfterSteps;
        }
        break;
    }
    case KeyKind::Macro: {
        MacroExpansion macro = ExpandMacro(macroText, row->macroNumber);
        click.error = std::move(macro.error);
        click.steps = MacroSteps(macro.commands);
        break;
    }
    }
    return click;
}

}  // namespace quorvane
