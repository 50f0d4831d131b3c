#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "web/RemoteMessages.h"

namespace quorvane {

// What every page is shown, kept in one place: the server hands each change
// of the window to the feed and sends what it returns to every page, and a
// page that connects later gets the same picture at once from Greeting.
// Each call returns nothing when the pages already show what it was given,
// so a poll tick that changes nothing sends nothing.
class RemoteFeed {
public:
    // The display after a tick (MakeDisplayFrame).
    std::optional<std::string> Display(const DisplayFrame& frame);
    // The status box's text (UTF-8).
    std::optional<std::string> Status(std::string_view text);
    // The latching keys' state (KeyPad::FunctionHeld() == "1", ...).
    std::optional<std::string> Latches(bool functionHeld, bool reverseHeld);
    // The whole log text after a change (LogText::Text()). New rows on top of
    // the rows the pages have give one "hit" message each, oldest first; any
    // other change (the log cleared) gives one "log" message with every row.
    std::vector<std::string> Log(std::string_view logText);

    // Marks the rows that are alerts; a new marker (the alert list changed)
    // shows on the pages with the next change of the log.
    void SetAlertMarker(AlertMarker marker) { marker_ = std::move(marker); }

    // The messages for a page that has just connected, in order.
    std::vector<std::string> Greeting(RemoteRole role) const;

private:
    DisplayFrame display_;
    std::string status_;
    bool functionHeld_ = false;
    bool reverseHeld_ = false;
    std::vector<LogRow> rows_;
    std::vector<bool> alerts_;
    AlertMarker marker_;
};

}  // namespace quorvane
