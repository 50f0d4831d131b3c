#include "web/RemoteFeed.h"

namespace quorvane {

std::optional<std::string> RemoteFeed::Display(const DisplayFrame& frame) {
    if (frame == display_) return std::nullopt;
    display_ = frame;
    return DisplayMessage(display_);
}

std::optional<std::string> RemoteFeed::Status(std::string_view text) {
    if (text == status_) return std::nullopt;
    status_ = std::string(text);
    return StatusMessage(status_);
}

std::optional<std::string> RemoteFeed::Latches(bool functionHeld, bool reverseHeld) {
    if (functionHeld == functionHeld_ && reverseHeld == reverseHeld_) return std::nullopt;
    functionHeld_ = functionHeld;
    reverseHeld_ = reverseHeld;
    return LatchesMessage(functionHeld_, reverseHeld_);
}

std::string RemoteFeed::Log(const std::deque<LogRow>& rows) {
    rows_.Clear();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) rows_.Add(*row, marker_);
    return LogMessage(rows_);
}

std::optional<std::string> RemoteFeed::LogAdded(const LogRow& row) {
    rows_.Add(row, marker_);
    if (!row.Shown) return std::nullopt;
    return HitMessage(row, rows_.Marked(0));
}

std::string RemoteFeed::LogCleared() {
    rows_.Clear();
    return LogMessage(rows_);
}

std::optional<std::string> RemoteFeed::Remark() {
    if (!rows_.Remark(marker_)) return std::nullopt;
    return LogMessage(rows_);
}

std::vector<std::string> RemoteFeed::Greeting(RemoteRole role) const {
    return {HelloMessage(role), DisplayMessage(display_), StatusMessage(status_),
            LatchesMessage(functionHeld_, reverseHeld_), LogMessage(rows_)};
}

}  // namespace quorvane
