#include "web/RemoteFeed.h"

#include <algorithm>

namespace quorvane {
namespace {

// More new rows than this at once are sent as a whole new log.
constexpr size_t kMostHitMessages = 16;

// How many rows were put on top of `before` to give `after` (the oldest may
// have dropped off the end, as the grid shows a limited number); nothing when
// `after` is not `before` with rows on top.
// Whether `after` is `before` with `added` items on top (the oldest may
// have dropped off the end).
template <typename Item>
bool SameBelow(const std::vector<Item>& before, const std::vector<Item>& after, size_t added) {
    if (added > after.size() || after.size() - added > before.size()) return false;
    const auto kept = static_cast<std::ptrdiff_t>(after.size() - added);
    return std::equal(after.begin() + static_cast<std::ptrdiff_t>(added), after.end(), before.begin(),
                      before.begin() + kept);
}

std::optional<size_t> RowsOnTop(const std::vector<LogRow>& before, const std::vector<LogRow>& after) {
    if (after.size() < before.size()) return std::nullopt;
    // At least the growth is new; more when the oldest rows dropped off.
    for (size_t added = after.size() - before.size(); added <= std::min(kMostHitMessages, after.size()); ++added) {
        if (SameBelow(before, after, added)) return added;
    }
    return std::nullopt;
}

}  // namespace

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

std::vector<std::string> RemoteFeed::Log(std::string_view logText) {
    std::vector<bool> alerts;
    std::vector<LogRow> rows = LogRows(logText, marker_, &alerts);
    std::vector<std::string> messages;
    // A row that became an alert (or stopped being one) is a change too.
    const auto added = RowsOnTop(rows_, rows);
    if (added && SameBelow(alerts_, alerts, *added)) {
        for (size_t r = *added; r-- > 0;) messages.push_back(HitMessage(rows[r], alerts[r]));
    } else {
        messages.push_back(LogMessage(rows, alerts));
    }
    rows_ = std::move(rows);
    alerts_ = std::move(alerts);
    return messages;
}

std::vector<std::string> RemoteFeed::Greeting(RemoteRole role) const {
    return {HelloMessage(role), DisplayMessage(display_), StatusMessage(status_),
            LatchesMessage(functionHeld_, reverseHeld_), LogMessage(rows_, alerts_)};
}

}  // namespace quorvane
