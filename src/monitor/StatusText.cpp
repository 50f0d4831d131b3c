#include "monitor/StatusText.h"

namespace quorvane {

void StatusText::Note(std::string text, int64_t nowMs, int64_t forMs) {
    note_ = std::move(text);
    noteUntilMs_ = nowMs + forMs;
}

std::string StatusText::Shown(int64_t nowMs) const {
    if (!note_.empty() && nowMs < noteUntilMs_) return note_;
    if (!link_.empty()) return link_;
    return held_.empty() ? base_ : held_;
}

std::optional<int64_t> StatusText::NextChangeMs(int64_t nowMs) const {
    if (!note_.empty() && nowMs < noteUntilMs_) return noteUntilMs_;
    return std::nullopt;
}

}  // namespace quorvane
