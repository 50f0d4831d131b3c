#pragma once
#include <deque>
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
// so a poll tick that changes nothing sends nothing; the log is sent a row
// at a time as the window's log grows.
class RemoteFeed {
public:
    // The display after a tick (MakeDisplayFrame).
    std::optional<std::string> Display(const DisplayFrame& frame);
    // The status box's text (UTF-8).
    std::optional<std::string> Status(std::string_view text);
    // The latching keys' state (KeyPad::FunctionHeld() == "1", ...).
    std::optional<std::string> Latches(bool functionHeld, bool reverseHeld);
    // The hit log: the whole of it (its rows, newest first, as LogText keeps
    // them) gives one "log" message; a line put on top gives one "hit"
    // message when the grid shows its row; a cleared log gives an empty
    // "log" message.
    std::string Log(const std::deque<LogRow>& rows);
    std::optional<std::string> LogAdded(const LogRow& row);
    std::string LogCleared();

    // Marks the rows that are alerts as the window's log marks them: each
    // row as it comes, and every row again at Remark (the alert list
    // changed), which gives a "log" message when any mark changed.
    void SetAlertMarker(LogGridRows::Marker marker) { marker_ = std::move(marker); }
    std::optional<std::string> Remark();

    // The messages for a page that has just connected, in order.
    std::vector<std::string> Greeting(RemoteRole role) const;

private:
    DisplayFrame display_;
    std::string status_;
    bool functionHeld_ = false;
    bool reverseHeld_ = false;
    LogGridRows rows_;
    LogGridRows::Marker marker_;
};

}  // namespace quorvane
