#include "monitor/IconRows.h"

#include <span>

namespace quorvane {
namespace {

struct IconEntry {
    std::string_view Lit;
    std::string_view Dark;
};

// The first entry of each row has a one-blank dark form, so a dark system or
// group icon shifts the rest of the row three columns to the left, as on the
// scanner's own display.
constexpr IconEntry kRow1[] = {
    {"SYS ", " "}, {"1", " "}, {"2", " "}, {"3", " "}, {"4", " "},
    {"5", " "},    {"6", " "}, {"7", " "}, {"8", " "}, {"9", " "},
    {"0", " "},    {"ATT ", "    "}, {"PRI ", "    "}, {"KEYL ", "     "}, {"BAT ", "    "},
};

constexpr IconEntry kRow2[] = {
    {"GRP ", " "}, {"1", " "}, {"2", " "}, {"3", " "}, {"4", " "},
    {"5", " "},    {"6", " "}, {"7", " "}, {"8", " "}, {"9", " "},
    {"0", " "},    {"AM ", "   "}, {"N", " "}, {"FM ", "   "}, {"L/O ", "    "},
    {"F ", "  "},  {"CC", "  "},
};

std::string BuildRow(std::span<const IconEntry> table, std::string_view flags) {
    std::string row;
    row.reserve(32);
    for (size_t i = 0; i < table.size(); ++i) {
        const bool lit = i < flags.size() && flags[i] == '1';
        row.append(lit ? table[i].Lit : table[i].Dark);
    }
    return row;
}

}  // namespace

IconRows MakeIconRows(std::string_view flags1, std::string_view flags2) {
    return {BuildRow(kRow1, flags1), BuildRow(kRow2, flags2)};
}

}  // namespace quorvane
