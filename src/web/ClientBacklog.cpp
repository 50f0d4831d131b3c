#include "web/ClientBacklog.h"

#include <algorithm>

namespace quorvane {

ClientBacklog::Verdict ClientBacklog::Offer(std::int64_t wireBytes, bool sound) {
    if (dropped_) return Verdict::Drop;
    if (sound && QueuedBytes() > kBacklogSoundBytes) return Verdict::Skip;
    // A page that has taken everything gets the next message whatever its
    // size (a long log), so no single message can shut a page out.
    if (QueuedMessages() > 0 &&
        (QueuedBytes() + wireBytes > kBacklogMostBytes || QueuedMessages() + 1 > kBacklogMostMessages)) {
        dropped_ = true;
        return Verdict::Drop;
    }
    sent_ += std::max<std::int64_t>(wireBytes, 0);
    ends_.push_back(sent_);
    return Verdict::Send;
}

void ClientBacklog::Written(std::int64_t bytes) {
    // The socket never writes more than it was given; a count that says so
    // (a frame header counted differently) is held at what was sent.
    written_ = std::min(sent_, written_ + std::max<std::int64_t>(bytes, 0));
    while (!ends_.empty() && ends_.front() <= written_) ends_.pop_front();
}

}  // namespace quorvane
