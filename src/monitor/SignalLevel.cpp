#include "monitor/SignalLevel.h"

#include <algorithm>

namespace quorvane {
namespace {
constexpr int kStrongestLevel = 255;
}  // namespace

std::optional<int> ParseSignalLevel(std::string_view field) {
    // Three digits at most: longer text is garbled, and stopping there keeps
    // the number far from overflowing.
    if (field.empty() || field.size() > 3) return std::nullopt;
    int level = 0;
    for (const char c : field) {
        if (c < '0' || c > '9') return std::nullopt;
        level = level * 10 + (c - '0');
    }
    if (level > kStrongestLevel) return std::nullopt;
    return level;
}

void SignalTally::Add(int level) {
    peak_ = count_ == 0 ? level : std::max(peak_, level);
    sum_ += level;
    ++count_;
}

std::optional<int> SignalTally::Peak() const {
    if (count_ == 0) return std::nullopt;
    return peak_;
}

std::optional<int> SignalTally::Average() const {
    if (count_ == 0) return std::nullopt;
    return static_cast<int>((sum_ + count_ / 2) / count_);
}

}  // namespace quorvane
