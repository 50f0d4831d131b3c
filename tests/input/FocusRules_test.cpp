#include "input/FocusRules.h"

#include <gtest/gtest.h>

using namespace quorvane;

TEST(FocusRules, AFocusedControlKeepsTheKeysItUsesAndTheRestStayShortcuts) {
    using K = ShortcutKey;
    using H = FocusHolder;
    struct Case {
        H holder;
        K key;
        bool acts;
    } cases[] = {
        {H::Panel, K::Space, true},     {H::Panel, K::Enter, true},    {H::Panel, K::Left, true},
        {H::Panel, K::Digit5, true},    {H::Key, K::Space, false},     {H::Key, K::Enter, false},
        {H::Key, K::Right, true},       {H::Key, K::H, true},          {H::Button, K::Space, false},
        {H::Button, K::Enter, false},   {H::Button, K::Left, false},   {H::Button, K::Right, false},
        {H::Button, K::Down, false},    {H::Button, K::Digit1, true},  {H::Button, K::S, true},
        {H::Button, K::Period, true},   {H::Chooser, K::Digit1, false}, {H::Chooser, K::S, false},
        {H::Chooser, K::Space, false},  {H::TextBox, K::M, false},     {H::TextBox, K::Enter, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortcutActs(c.holder, c.key), c.acts)
            << "holder " << static_cast<int>(c.holder) << " key " << static_cast<int>(c.key);
    }
}
