#pragma once
#include <cstdint>
#include <string>

namespace quorvane {

// A date and time of day on the wall clock, without a time zone.
struct LocalTime {
    int Year = 1970;
    int Month = 1;
    int Day = 1;
    int SecondsOfDay = 0;

    bool operator==(const LocalTime&) const = default;
};

// A moment: milliseconds since 1970-01-01 UTC, and how far the local clock
// was ahead of UTC at that moment.
struct Instant {
    std::int64_t EpochMs = 0;
    int UtcOffsetSeconds = 0;

    bool operator==(const Instant&) const = default;
};

// Days since 1970-01-01 of a calendar date, and back.
std::int64_t DaysFromCivil(int year, int month, int day);
LocalTime CivilFromDays(std::int64_t days, int secondsOfDay = 0);
// 28 to 31 (Gregorian leap years); 0 for a month outside 1-12.
int DaysInMonth(int year, int month);

// The wall-clock time of the moment.
LocalTime LocalTimeOf(Instant instant);
// The same wall-clock time `days` days later.
LocalTime AddDays(const LocalTime& time, int days);

// ISO 8601 to the second: "2026-12-04T14:51:13+01:00" and "2026-12-04T13:51:13Z".
std::string LocalIsoText(Instant instant);
std::string UtcIsoText(Instant instant);
// "2026-12-04T14:51:13", the wall clock alone.
std::string LocalTimeIsoText(const LocalTime& time);

}  // namespace quorvane
