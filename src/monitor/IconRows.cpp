#include "monitor/IconRows.h"

#include <span>
#include <vector>

namespace quorvane {
namespace {

struct IconEntry {
    std::string_view Lit;
    std::string_view Dark;
    std::string_view Spoken = {};  // a digit: said after the row's first word
};

// The first entry of each row has a one-blank dark form, so a dark system or
// group icon shifts the rest of the row three columns to the left, as on the
// scanner's own display.
constexpr IconEntry kRow1[] = {
    {"SYS ", " "}, {"1", " "}, {"2", " "}, {"3", " "}, {"4", " "},
    {"5", " "},    {"6", " "}, {"7", " "}, {"8", " "}, {"9", " "},
    {"0", " "},    {"ATT ", "    ", "Attenuator"}, {"PRI ", "    ", "Priority"}, {"KEYL ", "     ", "Key lock"},
    {"BAT ", "    ", "Battery low"},
};

constexpr IconEntry kRow2[] = {
    {"GRP ", " "}, {"1", " "}, {"2", " "}, {"3", " "}, {"4", " "},
    {"5", " "},    {"6", " "}, {"7", " "}, {"8", " "}, {"9", " "},
    {"0", " "},    {"AM ", "   ", "AM"}, {"N", " ", "Narrow"}, {"FM ", "   ", "FM"}, {"L/O ", "    ", "Lockout"},
    {"F ", "  ", "Function"},  {"CC", "  ", "Close Call"},
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

bool Lit(std::string_view flags, size_t i) { return i < flags.size() && flags[i] == '1'; }

// The row's first icon and its digits as one phrase ("System 1 3"), then
// each other lit icon; "Narrow" runs into the "FM" after it.
void SpeakRow(std::span<const IconEntry> table, std::string_view flags, std::string_view first,
              std::vector<std::string>& words) {
    std::string numbered;
    for (size_t i = 1; i <= 10; ++i) {
        if (Lit(flags, i)) numbered += " " + std::string(table[i].Lit);
    }
    if (Lit(flags, 0) || !numbered.empty()) words.push_back(std::string(first) + numbered);
    for (size_t i = 11; i < table.size(); ++i) {
        if (!Lit(flags, i)) continue;
        if (!words.empty() && words.back() == "Narrow") {
            words.back() += " " + std::string(table[i].Spoken);
        } else {
            words.emplace_back(table[i].Spoken);
        }
    }
}

}  // namespace

IconRows MakeIconRows(std::string_view flags1, std::string_view flags2) {
    std::vector<std::string> words;
    SpeakRow(kRow1, flags1, "System", words);
    SpeakRow(kRow2, flags2, "Group", words);
    std::string spoken;
    for (const std::string& word : words) spoken += (spoken.empty() ? "" : ", ") + word;
    return {BuildRow(kRow1, flags1), BuildRow(kRow2, flags2), spoken};
}

}  // namespace quorvane
