#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/LogText.h"
#include "monitor/TickOutcome.h"

namespace quorvane {

// One line of alerts.txt.
struct AlertEntry {
    enum class Kind { Frequency, Talkgroup, Text };
    Kind kind = Kind::Text;
    std::uint32_t Frequency = 0;  // Frequency: in units of 100 Hz (154.43 MHz is 1544300)
    std::string Text;             // Talkgroup: the ID without leading zeros; Text: in lower case

    bool operator==(const AlertEntry&) const = default;
};

// What an entry is matched against: a hit's names (scanner bytes), its
// frequency and its talkgroup ID.
struct AlertSubject {
    std::string_view SystemText;
    std::string_view GroupText;
    std::string_view ChannelText;
    std::optional<std::uint32_t> Frequency;  // units of 100 Hz
    std::string_view TalkgroupId;
};

// The tones a page may use: what a scanner's audio carries.
inline constexpr double kLowestToneHz = 200;
inline constexpr double kHighestToneHz = 3500;

// A two-tone sequential page to listen for during hits ("tones=349.0,433.7
// Station 5"): the first tone, the second, and what the page is called.
struct ToneWatch {
    double FirstHz = 0;
    double SecondHz = 0;
    std::string Label;

    bool operator==(const ToneWatch&) const = default;
};

// The watched channels and talkgroups of alerts.txt: 8-bit text, one entry a
// line (CR LF, LF or a lone CR end a line). A number with a decimal point is
// a frequency in MHz, compared to 100 Hz (the scanner's step; finer digits
// are rounded); digits only are a talkgroup ID; anything else is text found
// anywhere in the system, group or channel name, ASCII letters in either
// case. Blanks around an entry do not count; empty lines and lines starting
// with "#" are skipped. Every byte is allowed: a line that is no number is
// text.
//
// Two kinds of line say more than what to watch (the name before "=" in
// either case):
//   notify=URL              every alert is also sent to this web hook
//   tones=349.0,433.7 NAME  a two-tone page (first tone, second tone in Hz,
//                           then its name) heard during a hit alerts too
// A tones line that cannot be read is left out and Notices() says why.
class AlertList {
public:
    AlertList() = default;
    static AlertList Parse(std::string_view fileBytes);

    bool Matches(const AlertSubject& subject) const;
    bool Empty() const { return entries_.empty(); }
    const std::vector<AlertEntry>& Entries() const { return entries_; }
    const std::vector<std::string>& Hooks() const { return hooks_; }
    const std::vector<ToneWatch>& Tones() const { return tones_; }
    const std::vector<std::string>& Notices() const { return notices_; }

private:
    std::vector<AlertEntry> entries_;
    std::vector<std::string> hooks_;
    std::vector<ToneWatch> tones_;
    std::vector<std::string> notices_;
};

// A frequency in MHz as text ("154.43", " 154.4300") in units of 100 Hz;
// nothing unless it is digits with one decimal point, below 1000000 MHz.
std::optional<std::uint32_t> FrequencyUnits(std::string_view megahertz);
// The scanner's eight frequency digits (four of MHz, four of 100 Hz) in units
// of 100 Hz; nothing for other text or all zeros (no frequency).
std::optional<std::uint32_t> FrequencyDigitsUnits(std::string_view digits);

// "154.4300" from the scanner's eight digits; empty for none.
std::string MegahertzText(std::string_view rawFrequency);

// A hit as the poll reports it.
AlertSubject SubjectOfHit(const LiveHit& hit);
// A row of the log: "system / group", channel, frequency text, and the
// talkgroup ID of a trunked hit (a tone or code there is never digits only,
// a DCS code aside).
AlertSubject SubjectOfLogRow(const LogRow& row);

}  // namespace quorvane
