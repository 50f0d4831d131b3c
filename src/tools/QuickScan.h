#pragma once
#include <array>
#include <optional>
#include <string>

#include "tools/ListLines.h"

namespace quorvane {

// One accepted line of the quick-scan list: the scanner's frequency digits
// and the modulation word.
struct QuickScanEntry {
    std::string digits;
    std::string modulation;  // "FM", "NFM" or "AM"

    friend bool operator==(const QuickScanEntry&, const QuickScanEntry&) = default;
};

// A line is a frequency with a "." and, after one space, an optional
// modulation word: "nfm"/"NFM" give NFM, "AM"/"am" give AM, anything else
// (or nothing) FM. Only the text between the first and a second "." counts as
// the fraction, up to its first space. A line without "." is not accepted.
std::optional<QuickScanEntry> ParseQuickScanLine(const std::string& line);

// Whether a line of the list reads as one frequency in MHz (digits, one ".",
// at most four decimals), with an optional modulation word after a space,
// or is blank. The walk itself takes any line with a "." (ParseQuickScanLine);
// this is what the user is told about before a start.
bool IsQuickScanLine(const std::string& line);
// The first line (from 0) that does not read as a frequency, if any.
std::optional<std::size_t> FirstLineNotAFrequency(const ListLines& list);

// The quick scan: the computer steps the scanner through the list, one entry
// a tick. A rejected line or the end of the list wraps the walk to entry 0
// after one silent tick; a hit in progress holds the walk where it is.
class QuickScan {
public:
    // The start/stop button: re-reads the list from the box text, goes back
    // to entry 0 and toggles running. Returns the lines read.
    ListLines Toggle(const std::string& listText);
    // SCAN and close-call-only stop it; the position stays (a start resets it).
    void Stop() { running_ = false; }
    bool Running() const { return running_; }
    std::size_t Position() const { return position_; }
    const std::optional<QuickScanEntry>& Entry(std::size_t index) const { return entries_.at(index); }

    // One tick: the tuning command to send, or nothing (stopped, holding for
    // a hit, or the silent wrap tick).
    std::optional<std::string> Tick(bool hitActive);

private:
    std::array<std::optional<QuickScanEntry>, kToolListEntries> entries_;
    std::size_t position_ = 0;
    bool running_ = false;
};

}  // namespace quorvane
