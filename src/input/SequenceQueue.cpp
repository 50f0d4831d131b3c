#include "input/SequenceQueue.h"

#include <algorithm>

namespace quorvane {

void SequenceQueue::Enqueue(const std::vector<Step>& steps) {
    steps_.insert(steps_.end(), steps.begin(), steps.end());
}

std::vector<std::string> SequenceQueue::Pump(int64_t nowMs) {
    lastPumpMs_ = nowMs;
    std::vector<std::string> due;
    while (!steps_.empty()) {
        Step& front = steps_.front();
        if (front.IsSend()) {
            due.push_back(std::move(front.text));
            steps_.pop_front();
            continue;
        }
        if (!waitStartedMs_) waitStartedMs_ = nowMs;
        // A clock that steps backwards never shortens the wait.
        const int64_t end = *waitStartedMs_ + std::max(front.waitMs, 0);
        if (nowMs < end) break;
        waitStartedMs_.reset();
        steps_.pop_front();
    }
    return due;
}

std::optional<int64_t> SequenceQueue::NextWakeMs() const {
    if (steps_.empty()) return std::nullopt;
    if (steps_.front().IsWait() && waitStartedMs_) {
        return *waitStartedMs_ + std::max(steps_.front().waitMs, 0);
    }
    return lastPumpMs_;
}

void SequenceQueue::Clear() {
    steps_.clear();
    waitStartedMs_.reset();
}

}  // namespace quorvane
