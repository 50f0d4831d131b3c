#include "input/KeyTable.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "link/Commands.h"

namespace quorvane {

namespace {

// The keypad as designed: row tops, column lefts and which key sits where.
constexpr std::array<int, 5> kRowTops = {225, 675, 1125, 1575, 2025};
constexpr std::array<int, 11> kColumnLefts = {4095, 4755, 5430, 6090, 6840, 7485,
                                              8130, 8775, 9435, 10200, 10860};
using KeypadRow = std::array<const char*, kColumnLefts.size()>;
constexpr std::array<KeypadRow, kRowTops.size()> kKeypad = {{
    {"key_hold", "key_1", "key_2", "key_3", "key_f", "key_menu", "key_left", "key_right",
     "key_push", "key_cc", "key_cconly"},
    {"key_scan", "key_4", "key_5", "key_6", "key_g1", "key_g2", "key_g3", "key_g4", "key_g5",
     "key_pri", "key_wx"},
    {"key_lo", "key_7", "key_8", "key_9", "key_g6", "key_g7", "key_g8", "key_g9", "key_g0",
     "key_srch", "key_rcl"},
    {"key_light", "key_no", "key_0", "key_yes", nullptr, nullptr, "key_m1", "key_m2", "key_m3",
     "key_rev", "key_att"},
    {"key_power", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
     "key_lock"},
}};

// The second hold key: a wide bar under the display that the narrow
// layouts keep inside the window.
constexpr const char* kHoldBarName = "key_hold_bar";
constexpr KeyPlace kHoldBarPlace{285, 2340, kHoldBarWidthTwips, kKeyHeightTwips};

// The scanner needs this long between holding the function key and the
// next key of key_lock and key_rev.
constexpr int kFunctionSettleMs = 1000;

KeyPlace PlaceOf(std::string_view name) {
    if (name == kHoldBarName) return kHoldBarPlace;
    for (std::size_t r = 0; r < kKeypad.size(); ++r) {
        for (std::size_t c = 0; c < kKeypad[r].size(); ++c) {
            if (kKeypad[r][c] != nullptr && name == kKeypad[r][c]) {
                return KeyPlace{kColumnLefts[c], kRowTops[r], kKeyWidthTwips, kKeyHeightTwips};
            }
        }
    }
    return KeyPlace{};
}

KeyLegend Text(std::string text) {
    KeyLegend legend;
    legend.text = std::move(text);
    return legend;
}
KeyLegend Symbol(KeySymbol symbol) {
    KeyLegend legend;
    legend.symbol = symbol;
    return legend;
}
KeyLegend Marked(std::string text, std::string mark, MarkSide side) {
    KeyLegend legend;
    legend.text = std::move(text);
    legend.mark = std::move(mark);
    legend.markSide = side;
    return legend;
}

Step Press(char key) { return Step::Send(KeyCommand(key, 'P')); }

// Function key held, the other key pressed, function key released.
std::vector<Step> Combination(char key) {
    return {Step::Send(KeyCommand('F', 'H')), Press(key), Step::Send(KeyCommand('F', 'R'))};
}

KeyRow PressRow(std::string name, KeyLegend legend, std::vector<Step> steps) {
    KeyRow row;
    row.objectName = std::move(name);
    row.legend = std::move(legend);
    row.kind = KeyKind::Press;
    row.steps = std::move(steps);
    return row;
}

struct SingleKey {
    const char* name;
    char key;
    KeyLegend legend;
};

struct CombinationKey {
    const char* name;
    char key;  // the key pressed while the function key is held
    KeyLegend legend;
};

std::vector<KeyRow> BuildRows() {
    const std::vector<SingleKey> singles = {
        {"key_hold", 'H', Text("Hold")},
        {kHoldBarName, 'H', Text("Hold")},
        {"key_scan", 'S', Text("Scan")},
        {"key_lo", 'L', Text("L/O")},
        {"key_light", '!', Symbol(KeySymbol::LightBulb)},
        {"key_power", 'P', Symbol(KeySymbol::Power)},
        {"key_1", '1', Text("1")},
        {"key_2", '2', Text("2")},
        {"key_3", '3', Text("3")},
        {"key_4", '4', Marked("4", "<", MarkSide::Left)},
        {"key_5", '5', Text("5")},
        {"key_6", '6', Marked("6", ">", MarkSide::Right)},
        {"key_7", '7', Text("7")},
        {"key_8", '8', Text("8")},
        {"key_9", '9', Text("9")},
        {"key_0", '0', Text("0")},
        {"key_yes", 'E', Marked("E", "Yes", MarkSide::Right)},
        {"key_no", '.', Marked("No", ".", MarkSide::Right)},
        {"key_menu", 'M', Text("Menu")},
        {"key_right", '>', Symbol(KeySymbol::ClockwiseArrow)},
        {"key_left", '<', Symbol(KeySymbol::AnticlockwiseArrow)},
        {"key_push", '^', Symbol(KeySymbol::ChevronDown)},
    };
    const std::vector<CombinationKey> combinations = {
        {"key_g1", '1', Text("G1")},
        {"key_g2", '2', Text("G2")},
        {"key_g3", '3', Text("G3")},
        {"key_g4", '4', Text("G4")},
        {"key_g5", '5', Text("G5")},
        {"key_g6", '6', Text("G6")},
        {"key_g7", '7', Text("G7")},
        {"key_g8", '8', Text("G8")},
        {"key_g9", '9', Text("G9")},
        {"key_g0", '0', Text("G0")},
        {"key_cc", 'H', Symbol(KeySymbol::CircledC)},
        {"key_srch", 'S', Text("Srch")},
        {"key_rcl", '7', Text("Rcl")},
        {"key_pri", '1', Text("Pri")},
        {"key_att", 'E', Text("Att")},
        {"key_wx", '2', Text("Wx")},
    };

    std::vector<KeyRow> rows;
    for (const SingleKey& k : singles) {
        rows.push_back(PressRow(k.name, k.legend, {Press(k.key)}));
    }
    for (const CombinationKey& k : combinations) {
        rows.push_back(PressRow(k.name, k.legend, Combination(k.key)));
    }

    rows.push_back(PressRow("key_lock", Symbol(KeySymbol::LockKey),
                            {Step::Send(KeyCommand('F', 'H')), Step::Wait(kFunctionSettleMs),
                             Press('!'), Step::Send(KeyCommand('F', 'R'))}));
    // Close-call only: menu, three knob steps right, confirm twice.
    rows.push_back(PressRow("key_cconly", Symbol(KeySymbol::CircledCFollowedByO),
                            {Press('M'), Press('>'), Press('>'), Press('>'), Press('E'),
                             Press('E')}));

    KeyRow function;
    function.objectName = "key_f";
    function.legend = Text("f");
    function.kind = KeyKind::Latch;
    function.latch = KeyLatch::Function;
    function.steps = {Step::Send(KeyCommand('F', 'H'))};
    function.stepsWhenHeld = {Step::Send(KeyCommand('F', 'R'))};
    rows.push_back(std::move(function));

    KeyRow reverse;
    reverse.objectName = "key_rev";
    reverse.legend = Text("Rev");
    reverse.kind = KeyKind::Latch;
    reverse.latch = KeyLatch::Reverse;
    reverse.steps = {Step::Send(KeyCommand('F', 'H')), Step::Wait(kFunctionSettleMs),
                     Step::Send(KeyCommand('.', 'H'))};
    reverse.stepsWhenHeld = {Step::Send(KeyCommand('.', 'R')), Step::Wait(kFunctionSettleMs),
                             Step::Send(KeyCommand('F', 'R'))};
    rows.push_back(std::move(reverse));

    for (int n = 1; n <= 3; ++n) {
        KeyRow macro;
        macro.objectName = "key_m" + std::to_string(n);
        macro.legend = Text("M" + std::to_string(n));
        macro.kind = KeyKind::Macro;
        macro.macroNumber = n;
        rows.push_back(std::move(macro));
    }

    for (KeyRow& row : rows) {
        row.place = PlaceOf(row.objectName);
        row.stopsQuickScan = row.objectName == "key_scan" || row.objectName == "key_cconly";
    }
    std::stable_sort(rows.begin(), rows.end(), [](const KeyRow& a, const KeyRow& b) {
        if (a.place.top != b.place.top) return a.place.top < b.place.top;
        return a.place.left < b.place.left;
    });
    return rows;
}

}  // namespace

const std::vector<KeyRow>& KeyRows() {
    static const std::vector<KeyRow> rows = BuildRows();
    return rows;
}

const KeyRow* FindKey(std::string_view objectName) {
    for (const KeyRow& row : KeyRows()) {
        if (row.objectName == objectName) return &row;
    }
    return nullptr;
}

}  // namespace quorvane
