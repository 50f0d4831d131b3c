#include "input/KeyNames.h"

namespace quorvane {
namespace {

struct NameRow {
    std::string_view objectName;
    std::string_view spoken;
    std::string_view hint;
};

constexpr std::string_view kWithFunction = "Function and ";

constexpr NameRow kNames[] = {
    {"key_hold", "Hold", ""},
    {"key_hold_bar", "Hold bar", "Hold, the wide key under the display"},
    {"key_scan", "Scan", ""},
    {"key_lo", "Lockout", "L/O"},
    {"key_light", "Light", "The display's back light"},
    {"key_power", "Power", ""},
    {"key_1", "1", ""},
    {"key_2", "2", ""},
    {"key_3", "3", ""},
    {"key_4", "4", "Also left in menus"},
    {"key_5", "5", ""},
    {"key_6", "6", "Also right in menus"},
    {"key_7", "7", ""},
    {"key_8", "8", ""},
    {"key_9", "9", ""},
    {"key_0", "0", ""},
    {"key_yes", "E, Yes", "Enter, or yes to a question"},
    {"key_no", "No, decimal point", ""},
    {"key_menu", "Menu", ""},
    {"key_right", "Knob right", "Turns the knob one step clockwise"},
    {"key_left", "Knob left", "Turns the knob one step anticlockwise"},
    {"key_push", "Knob push", "Pushes the knob"},
    {"key_f", "Function", "Holds or releases the function key"},
    {"key_rev", "Reverse", "Holds or releases the reverse frequency"},
    {"key_g1", "Group 1", "1"},
    {"key_g2", "Group 2", "2"},
    {"key_g3", "Group 3", "3"},
    {"key_g4", "Group 4", "4"},
    {"key_g5", "Group 5", "5"},
    {"key_g6", "Group 6", "6"},
    {"key_g7", "Group 7", "7"},
    {"key_g8", "Group 8", "8"},
    {"key_g9", "Group 9", "9"},
    {"key_g0", "Group 0", "0"},
    {"key_cc", "Close Call", "Hold"},
    {"key_srch", "Search", "Scan"},
    {"key_rcl", "Recall", "7"},
    {"key_pri", "Priority", "1"},
    {"key_att", "Attenuator", "E"},
    {"key_wx", "Weather", "2"},
    {"key_lock", "Lock", "Light"},
    {"key_cconly", "Close Call only", "Sets Close Call only through the menu"},
    {"key_m1", "Macro 1", "Plays the first macro box"},
    {"key_m2", "Macro 2", "Plays the second macro box"},
    {"key_m3", "Macro 3", "Plays the third macro box"},
    {"button_mini_plus_hold_win", "Smaller window", "The next smaller layout of the window"},
    {"button_maxi_plus_hold_win", "Larger window", "The next larger layout of the window"},
};

// The keys played as Function held with another key: their hint names that key.
bool PressesFunction(std::string_view objectName) {
    for (std::string_view key : {"key_g", "key_cc", "key_srch", "key_rcl", "key_pri", "key_att", "key_wx", "key_lock"}) {
        if (objectName.starts_with(key) && objectName != "key_cconly") return true;
    }
    return false;
}

}  // namespace

KeyName SpokenKeyName(std::string_view objectName) {
    for (const NameRow& row : kNames) {
        if (row.objectName != objectName) continue;
        KeyName name{std::string(row.spoken), std::string(row.hint)};
        if (PressesFunction(objectName)) name.hint = std::string(kWithFunction) + name.hint;
        return name;
    }
    return {};
}

}  // namespace quorvane
