#include "link/WriteBacklog.h"

#include <algorithm>

namespace quorvane {

bool WriteBacklog::Admit(std::size_t bytes, std::size_t unsent) {
    if (std::max(unanswered_, unsent) + bytes > most_) {
        blocked_ = true;
        return false;
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
