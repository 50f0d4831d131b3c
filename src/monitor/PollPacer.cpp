#include "monitor/PollPacer.h"

#include <algorithm>

namespace quorvane {

void PollPacer::Sent(int64_t nowMs) {
    ++owed_;
    lastActivityMs_ = nowMs;
}

std::optional<std::string> PollPacer::Tick(std::string_view read, int64_t nowMs) {
    if (!read.empty()) {
        held_.append(read);
        owed_ = std::max<int64_t>(0, owed_ - std::count(read.begin(), read.end(), '\r'));
        lastActivityMs_ = nowMs;
    }
    // A line still arriving after the last one owed was not counted (a stray
    // line): wait for its end, so the next round starts on a line boundary.
    const bool midLine = !held_.empty() && held_.back() != '\r';
    if (owed_ > 0 || midLine) {
        if (nowMs - lastActivityMs_ < kGiveUpAfterMs) return std::nullopt;
        Reset();
        return std::string();
    }
    std::string round;
    round.swap(held_);
    return round;
}

void PollPacer::Reset() {
    held_.clear();
    owed_ = 0;
}

}  // namespace quorvane
