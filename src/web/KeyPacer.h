#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>

namespace quorvane {

// The keys that pages and scripts send, held back so that no client can
// hold the scanner's line. A person presses a few keys a second; a page or a
// script can send thousands, and every key played goes out on a serial line
// that the poll needs too. So:
//   - each client (a page, or the key requests of one address) has a queue
//     of at most kMostKeysPerClient keys; more are refused, not queued;
//   - the remote plays at most one key every kRemoteKeySpacingMs (five a second at most), all
//     clients together, taking the clients in turn, so one client's flood
//     never delays another's key by more than one round;
//   - a client that goes has its queued keys dropped with it.
// The server plays a key only when the window's key queue is idle, so what
// a macro key plays still runs at its own pace, and only after the poll has
// had its rounds (kPollRoundsBetweenKeys).
inline constexpr int kRemoteKeySpacingMs = 200;
// While the poll runs, this many of its rounds come between two remote keys
// (a key keeps the scanner from the poll's next round), so a flood of keys
// leaves the poll at least two thirds of its pace; with no poll, a remote
// key waits kRemoteKeyWithoutPollMs instead.
inline constexpr int kPollRoundsBetweenKeys = 2;
inline constexpr int kRemoteKeyWithoutPollMs = 1000;
inline constexpr std::size_t kMostKeysPerClient = 64;

class KeyPacer {
public:
    using ClientId = std::uint64_t;

    struct Key {
        ClientId client = 0;
        std::string name;
        friend bool operator==(const Key&, const Key&) = default;
    };

    // Queues a key of a client; false when that client's queue is full.
    bool Add(ClientId client, std::string name);
    // Drops what a client has queued (it went, or the scanner refused a key).
    void Forget(ClientId client);
    // The key to play now, when there is one and the spacing since the last
    // one taken has passed; the clients are taken in turn.
    std::optional<Key> Take(std::int64_t nowMs);
    // When Take has something to give: now or later; nothing when idle.
    std::optional<std::int64_t> NextDueMs() const;

    std::size_t Queued(ClientId client) const;
    std::size_t Queued() const;

private:
    std::map<ClientId, std::deque<std::string>> queues_;  // no empty queues
    std::optional<ClientId> lastServed_;
    std::optional<std::int64_t> lastTakenMs_;
};

}  // namespace quorvane
