#include "input/FocusRules.h"

namespace quorvane {
namespace {

bool Presses(ShortcutKey key) { return key == ShortcutKey::Space || key == ShortcutKey::Enter; }
bool Moves(ShortcutKey key) {
    return key == ShortcutKey::Left || key == ShortcutKey::Right || key == ShortcutKey::Down;
}

}  // namespace

bool ShortcutActs(FocusHolder holder, ShortcutKey key) {
    switch (holder) {
    case FocusHolder::Panel: return true;
    case FocusHolder::Key: return !Presses(key);
    case FocusHolder::Button: return !Presses(key) && !Moves(key);
    case FocusHolder::Chooser:
    case FocusHolder::TextBox: return false;
    }
    return false;
}

}  // namespace quorvane
