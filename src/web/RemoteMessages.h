#pragma once
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/IconRows.h"
#include "monitor/LogGrid.h"
#include "web/AccessRules.h"

namespace quorvane {

// The browser remote's messages.
//
// The server answers three paths, each only with a token (see AccessRules.h):
//   GET  /             the page (remote.html); without a token too, as it
//                      holds nothing secret (a wrong token is still refused)
//   GET  /ws           the WebSocket the page talks over
//   POST /key          a key press from a script: the body is a "key" message
//                      as below; 204 when queued, 400 when refused, 403 for
//                      the view role, 429 when that address has a full key
//                      queue (KeyPacer.h), 503 when the scanner is not running
//
// Program to page, text frames of one JSON object each, "type" first:
//   {"type":"hello","version":1,"role":"control"}      first, on every connect;
//                                                       "view": keys are refused
//   {"type":"display","line1":"...","line2":"...","freq":"...",
//    "icons1":"...","icons2":"...","hit":false}        the display after a tick
//   {"type":"status","text":"..."}                     the status box under the
//                                                       display ("Scanner disconnected - retrying")
//   {"type":"latches","held":["key_f"]}                the latching keys shown held
//   {"type":"log","columns":["System / Group",...],
//    "rows":[["...",...7 cells],...],"alerts":[0,4]}    the whole hit log, newest first;
//                                                       alerts: the rows that are alerts
//   {"type":"hit","row":["...",...7 cells],"alert":false}   a new row for the top of the log
//   {"type":"sound","on":false,"reason":"..."}          Listen for this page stopped, and why
//                                                       ("No sound input on the computer")
//   {"type":"refused","key":"key_9x","reason":"Unknown key"}   a page message not acted on
// A new page gets hello, display, status, latches and log at once; after that
// each message is sent when its content changes (a display frame only when
// something on the display changed, about ten a second at most).
//
// All texts are UTF-8. Display, frequency, icon and log texts are the scanner's
// bytes through the window's glyph mapping (link/ScreenGlyphs.h), one glyph per
// byte, so a fixed-pitch font shows them column for column as the window does.
// The log's columns are the window grid's seven visible ones (monitor/LogGrid.h),
// its rows the grid's rows without the empty filler rows.
//
// Page to program, text frames of one JSON object each, at most 1 KiB:
//   {"type":"key","key":"key_scan"}     press a key: the key table's objectName
//                                       (input/KeyTable.h); the press runs the
//                                       same steps through the same queue as a
//                                       click in the window
//   {"type":"listen","on":true}         start or stop the sound for this page
//
// Program to page, binary frames: the sound, see web/RemoteAudio.h.

inline constexpr std::string_view kRemotePagePath = "/";
inline constexpr std::string_view kRemoteSocketPath = "/ws";
inline constexpr std::string_view kRemoteKeyPath = "/key";
inline constexpr int kRemoteProtocolVersion = 1;
inline constexpr size_t kMaxPageMessageBytes = 1024;

// The display as the page shows it, as UTF-8 screen text.
struct DisplayFrame {
    std::string line1;
    std::string line2;
    std::string freq;    // the frequency or talkgroup box
    std::string icons1;
    std::string icons2;
    bool hit = false;    // a hit is being followed

    friend bool operator==(const DisplayFrame&, const DisplayFrame&) = default;
};

// The frame for what the window shows, from scanner bytes: the display box
// text (line 1, CR LF, line 2, CR LF, as in TickOutcome::Text1), the
// frequency box and the icon rows.
DisplayFrame MakeDisplayFrame(std::string_view displayBox, std::string_view freqBox, const IconRows& icons, bool hit);

std::string DisplayMessage(const DisplayFrame& frame);
// A display message read back (the tests and the page's checker do); nothing
// unless it is a display message with every member of the right type.
std::optional<DisplayFrame> ReadDisplayMessage(std::string_view json);

std::string HelloMessage(RemoteRole role);
// The status box text, already UTF-8 (the window's own text).
std::string StatusMessage(std::string_view text);
std::string LatchesMessage(bool functionHeld, bool reverseHeld);

// The whole log: the rows the window's grid shows (newest first, without the
// filler rows), each field as UTF-8 screen text, and which rows are alerts
// (the grid's marked rows).
std::string LogMessage(const LogGridRows& rows);
// A row of the log that went on top, and whether it is an alert.
std::string HitMessage(const LogRow& row, bool alert = false);
// Listen stopped for a page (it asked for sound that cannot be had).
std::string SoundMessage(bool on, std::string_view reason);

// What a page asked for.
struct PageRequest {
    enum class Kind { Key, Listen, Refused };
    Kind kind = Kind::Refused;
    std::string key;      // Key: the objectName; Refused: the key named, if any
    bool listen = false;  // Listen: on or off
    std::string reason;   // Refused: "Not a message", "Unknown message", "Unknown key", "View only"

    friend bool operator==(const PageRequest&, const PageRequest&) = default;
};

// Reads a message from a page with the given role. Only a key of the key
// table is accepted, and only from the control role; anything garbled, too
// long or unknown is refused.
PageRequest ReadPageMessage(std::string_view json, RemoteRole role);
// The answer to a refused request.
std::string RefusedMessage(const PageRequest& request);

}  // namespace quorvane
