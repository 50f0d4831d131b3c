#pragma once
#include <cstdint>
#include <deque>

namespace quorvane {

// What one page's connection has not yet taken, and when to give up on it.
// The server never waits for a page: it hands each message to the socket at
// once, and the socket holds what the network has not taken. A page on a
// slow or stalled connection would make that grow without end, so:
//   - sound is left out for a page that is more than half a second of sound
//     behind (it would play late anyway, and the page skips to the present);
//   - a page with more than kBacklogMostBytes or kBacklogMostMessages not
//     yet taken is dropped; it reconnects by itself and starts afresh with
//     the whole picture, which is smaller than what it missed.
// The server counts a message when it sends it (its size on the wire,
// WebSocketFrameBytes) and what the socket reports written.
inline constexpr std::int64_t kBacklogMostBytes = 512 * 1024;
inline constexpr std::int64_t kBacklogMostMessages = 128;
inline constexpr std::int64_t kBacklogSoundBytes = 16 * 1024;  // 0.5 s of 16 kHz 16-bit sound

// The bytes a server's (unmasked) WebSocket frame takes for a payload.
constexpr std::int64_t WebSocketFrameBytes(std::int64_t payload) {
    return payload + (payload < 126 ? 2 : payload < 65536 ? 4 : 10);
}

class ClientBacklog {
public:
    enum class Verdict {
        Send,  // send it
        Skip,  // leave this one out (sound only)
        Drop,  // close the connection; every later offer says so too
    };

    // A message of wireBytes about to be sent; counted when the answer is Send.
    Verdict Offer(std::int64_t wireBytes, bool sound = false);
    // The socket wrote this many more bytes.
    void Written(std::int64_t bytes);

    std::int64_t QueuedBytes() const { return sent_ - written_; }
    std::int64_t QueuedMessages() const { return static_cast<std::int64_t>(ends_.size()); }

private:
    std::int64_t sent_ = 0;            // bytes handed to the socket so far
    std::int64_t written_ = 0;         // bytes the socket has written so far
    std::deque<std::int64_t> ends_;    // where each message not yet written ends, in sent_ bytes
    bool dropped_ = false;
};

}  // namespace quorvane
