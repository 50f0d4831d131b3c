#include "link/WriteBacklog.h"

#include <algorithm>

namespace quorvane {

bool WriteBacklog::Admit(std::size_t bytes, std::size_t unsent, long long nowMs) {
    if (std::max(unanswered_, unsent) + bytes > most_) {
        if (!blocked_) {
            blocked_ = true;
            lastProbeMs_ = nowMs;
            return false;
        }
        if (nowMs - lastProbeMs_ < kBlockedProbeEveryMs) return false;
        lastProbeMs_ = nowMs;
        unanswered_ += bytes;
        return true;
    }
    unanswered_ += bytes;
    return true;
}

void WriteBacklog::Answered(std::size_t unsent) {
    // What the link has not even sent yet is still unanswered.
    unanswered_ = unsent;
    blocked_ = false;
}

}  // namespace quorvane
