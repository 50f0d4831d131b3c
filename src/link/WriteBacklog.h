#pragma once
#include <cstddef>

namespace quorvane {

// Bytes that may be on their way to a scanner that has not answered yet.
// The scanner answers every command, so bytes sent since its last reply are
// either being read or piling up somewhere (the link's own buffer, the
// system's, a ser2net host's); a line whose other end stopped reading would
// otherwise deliver every stale command at once when it wakes up.
inline constexpr std::size_t kMostUnansweredBytes = 1024;
// While blocked, one command may still go out this often: a scanner that was
// switched off read and dropped what it got, and must be heard again when it
// comes back. A stalled line gathers no more than one line a second.
inline constexpr long long kBlockedProbeEveryMs = 1000;

class WriteBacklog {
public:
    explicit WriteBacklog(std::size_t most = kMostUnansweredBytes) : most_(most) {}

    // Whether a command of `bytes` may go out at nowMs, given what the link
    // itself still holds unsent. A refused command is dropped and marks the
    // line blocked; while blocked, one command a kBlockedProbeEveryMs passes.
    bool Admit(std::size_t bytes, std::size_t unsent, long long nowMs);
    // The scanner sent something back: it is reading again.
    void Answered(std::size_t unsent);
    void Reset() { Answered(0); }
    // True from the first refused command until the scanner answers.
    bool Blocked() const { return blocked_; }

private:
    std::size_t most_;
    std::size_t unanswered_ = 0;
    bool blocked_ = false;
    long long lastProbeMs_ = 0;  // when the block began or the last probe went
};

}  // namespace quorvane
