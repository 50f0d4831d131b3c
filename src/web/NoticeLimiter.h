#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// A notice for standard error (the journal, under systemd) that a client can
// make happen again and again, such as a Listen that finds no sound input:
// it is said the first time and then at most once per interval, with how
// many times it came in between, so no client can fill the journal.
class NoticeLimiter {
public:
    explicit NoticeLimiter(std::int64_t intervalMs) : intervalMs_(intervalMs) {}

    // The line to write for this notice now, or nothing when it is held back.
    std::optional<std::string> Pass(std::string_view text, std::int64_t nowMs);

private:
    std::int64_t intervalMs_;
    std::optional<std::int64_t> lastSaidMs_;
    int heldBack_ = 0;
};

}  // namespace quorvane
