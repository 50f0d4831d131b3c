#include "web/NoticeLimiter.h"

namespace quorvane {

std::optional<std::string> NoticeLimiter::Pass(std::string_view text, std::int64_t nowMs) {
    if (lastSaidMs_ && nowMs >= *lastSaidMs_ && nowMs - *lastSaidMs_ < intervalMs_) {
        ++heldBack_;
        return std::nullopt;
    }
    std::string line(text);
    if (heldBack_ > 0) {
        line += " (" + std::to_string(heldBack_) + (heldBack_ == 1 ? " more time" : " more times") +
                " since it was last said)";
    }
    heldBack_ = 0;
    lastSaidMs_ = nowMs;
    return line;
}

}  // namespace quorvane
