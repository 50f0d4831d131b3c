#include "monitor/SkipList.h"

#include <optional>

#include "base/Fields.h"

namespace quorvane {
namespace {

const std::string kEmpty;

// "ID:12345:..." shows the talkgroup between the first and the next colon.
std::optional<std::string_view> ShownId(std::string_view line2) {
    if (!StartsWith(line2, "ID:")) return std::nullopt;
    const std::string_view rest = line2.substr(3);
    return rest.substr(0, rest.find(':'));
}

}  // namespace

SkipList::SkipList() : entries_(kEntryCount) {}

const std::string& SkipList::Entry(size_t index) const {
    return index < entries_.size() ? entries_[index] : kEmpty;
}

void SkipList::SetEntry(size_t index, std::string text) {
    if (index < entries_.size()) entries_[index] = std::move(text);
}

int SkipList::SkipPresses(std::string_view rawFrequency, std::string_view talkgroupId,
                          std::string_view displayLine2) const {
    if (!Enabled()) return 0;
    const std::optional<std::string_view> shownId = ShownId(displayLine2);
    int presses = 0;
    for (const std::string& entry : entries_) {
        if (entry.empty()) continue;
        if (entry == rawFrequency) ++presses;
        if (entry == talkgroupId) ++presses;
        if (shownId && entry == *shownId) ++presses;
    }
    return presses;
}

}  // namespace quorvane
