#include "web/KeyPacer.h"

#include <limits>

namespace quorvane {

bool KeyPacer::Add(ClientId client, std::string name) {
    std::deque<std::string>& queue = queues_[client];
    if (queue.size() >= kMostKeysPerClient) return false;
    queue.push_back(std::move(name));
    return true;
}

void KeyPacer::Forget(ClientId client) { queues_.erase(client); }

std::optional<KeyPacer::Key> KeyPacer::Take(std::int64_t nowMs) {
    const auto due = NextDueMs();
    if (!due || nowMs < *due) return std::nullopt;
    // The client after the one served last, wrapping round.
    auto next = lastServed_ ? queues_.upper_bound(*lastServed_) : queues_.begin();
    if (next == queues_.end()) next = queues_.begin();
    Key key{next->first, std::move(next->second.front())};
    next->second.pop_front();
    if (next->second.empty()) queues_.erase(next);
    lastServed_ = key.client;
    lastTakenMs_ = nowMs;
    return key;
}

std::optional<std::int64_t> KeyPacer::NextDueMs() const {
    if (queues_.empty()) return std::nullopt;
    if (!lastTakenMs_) return std::numeric_limits<std::int64_t>::min();
    return *lastTakenMs_ + kRemoteKeySpacingMs;
}

std::size_t KeyPacer::Queued(ClientId client) const {
    const auto queue = queues_.find(client);
    return queue == queues_.end() ? 0 : queue->second.size();
}

std::size_t KeyPacer::Queued() const {
    std::size_t count = 0;
    for (const auto& [client, queue] : queues_) count += queue.size();
    return count;
}

}  // namespace quorvane
