#include "history/CivilTime.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace quorvane {
namespace {

using std::chrono::days;
using std::chrono::sys_days;
using std::chrono::year_month_day;

constexpr std::int64_t kSecondsPerDay = 86400;

// Division rounding down, so a moment before 1970 falls on its own day.
std::int64_t FloorDiv(std::int64_t value, std::int64_t by) {
    const std::int64_t q = value / by;
    return (value % by != 0 && (value < 0) != (by < 0)) ? q - 1 : q;
}

std::string DateTimeText(const LocalTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t.Year, t.Month, t.Day, t.SecondsOfDay / 3600,
                  t.SecondsOfDay / 60 % 60, t.SecondsOfDay % 60);
    return text;
}

LocalTime WallClock(std::int64_t epochMs, int offsetSeconds) {
    const std::int64_t seconds = FloorDiv(epochMs, 1000) + offsetSeconds;
    const std::int64_t days = FloorDiv(seconds, kSecondsPerDay);
    return CivilFromDays(days, static_cast<int>(seconds - days * kSecondsPerDay));
}

}  // namespace

// The proleptic Gregorian calendar of <chrono>.
std::int64_t DaysFromCivil(int year, int month, int day) {
    const sys_days date{std::chrono::year{year} / static_cast<unsigned>(month) / static_cast<unsigned>(day)};
    return date.time_since_epoch().count();
}

LocalTime CivilFromDays(std::int64_t dayCount, int secondsOfDay) {
    const year_month_day date{sys_days{days{dayCount}}};
    return LocalTime{static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
                     static_cast<int>(static_cast<unsigned>(date.day())), secondsOfDay};
}

int DaysInMonth(int year, int month) {
    if (month < 1 || month > 12) return 0;
    const auto last = std::chrono::year{year} / static_cast<unsigned>(month) / std::chrono::last;
    return static_cast<int>(static_cast<unsigned>(last.day()));
}
LocalTime LocalTimeOf(Instant instant) { return WallClock(instant.EpochMs, instant.UtcOffsetSeconds); }

LocalTime AddDays(const LocalTime& time, int days) {
    return CivilFromDays(DaysFromCivil(time.Year, time.Month, time.Day) + days, time.SecondsOfDay);
}

std::string LocalIsoText(Instant instant) {
    const int offset = std::abs(instant.UtcOffsetSeconds) / 60;
    char zone[8];
    std::snprintf(zone, sizeof zone, "%c%02d:%02d", instant.UtcOffsetSeconds < 0 ? '-' : '+', offset / 60 % 100,
                  offset % 60);
    return DateTimeText(LocalTimeOf(instant)) + zone;
}

std::string UtcIsoText(Instant instant) { return DateTimeText(WallClock(instant.EpochMs, 0)) + "Z"; }

std::string LocalTimeIsoText(const LocalTime& time) { return DateTimeText(time); }

}  // namespace quorvane
