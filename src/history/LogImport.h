#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/CivilTime.h"
#include "history/HistoryHit.h"

namespace quorvane {

// A run's log file name, "MM-dd-yyyy_h-mm-ss-AP.txt" (12-04-2026_2-51-13-PM.txt):
// the run's start on the wall clock and the two texts that name it.
struct LogFileStamp {
    LocalTime Launch;
    std::string LaunchDate;  // "12-04-2026"
    std::string LaunchTime;  // "2-51-13-PM"
};
// Nothing for a name that is not a log file's. A name made like one whose
// date or time cannot be (02-31-2026_...) is refused too, and *problem says
// why, so the import can name the file it leaves out.
std::optional<LogFileStamp> ParseLogFileName(std::string_view fileName, std::string* problem = nullptr);

// A time of day as the log writes it, "2:51:13 PM" (also "14:51:13"), in
// seconds since midnight.
std::optional<int> ParseTimeOfDay(std::string_view text);

// One line of a log file, with its start and end on the wall clock.
struct LoggedHit {
    HitNames Names;  // RawFrequency stays empty: the log does not carry it
    LocalTime Start;
    LocalTime End;
    std::int64_t LineKey = 0;
    // 1 for the first line of the file with these bytes, 2 for the second
    // (two short hits in one second, or a run past midnight with a hit at the
    // same time each day), ...: with the run and the line it keys the hit.
    int Occurrence = 1;
    // The wall clock went back (summer time ended) earlier that day, so a
    // time in the repeated hour is its second passing.
    bool StartAfterClockBack = false;
    bool EndAfterClockBack = false;
};

struct LogFileHits {
    std::vector<LoggedHit> Hits;  // oldest first
    size_t Unreadable = 0;        // non-empty lines that are not hit lines
};

// How far the wall clock can go back without a new day: a clock change
// moves it an hour, a new day many hours.
inline constexpr int kClockChangeSeconds = 3 * 3600;

// The hits of a log file: lines "System / Group TAB Channel TAB Freq TAB
// Code/ID TAB Start TAB End TAB mm-dd-yyyy", newest first. Each line carries
// only the run's date, so the day is counted on from the run's start: a hit
// that starts more than kClockChangeSeconds earlier in the day than the one
// before it (or than the run itself) is on the next day; one that starts a
// little earlier is on the same day, after the clock went back. An end that
// far before its start is on the day after the start.
LogFileHits ParseLogFile(std::string_view bytes, const LogFileStamp& stamp);

}  // namespace quorvane
