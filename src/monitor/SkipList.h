#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// Receptions the scanner should move past at once: frequencies in the
// scanner's eight-digit form and talkgroup IDs, one per entry. A non-empty
// entry 0 switches the automatic skip on.
class SkipList {
public:
    static constexpr size_t kEntryCount = 1001;

    SkipList();

    bool Enabled() const { return !entries_[0].empty(); }

    // Out-of-range indexes read as empty and are ignored when set.
    const std::string& Entry(size_t index) const;
    void SetEntry(size_t index, std::string text);

    // How many ">" presses one tick of a transmission must send. Nothing while
    // the list is off. Otherwise every non-empty entry counts once for each of:
    // equal to the frequency digits, equal to the talkgroup ID, equal to the ID
    // shown on display line 2 when that line starts with "ID:" (the text after
    // the first ":" up to the next ":" or the end). Exact, case-sensitive.
    int SkipPresses(std::string_view rawFrequency, std::string_view talkgroupId,
                    std::string_view displayLine2) const;

private:
    std::vector<std::string> entries_;
};

}  // namespace quorvane
