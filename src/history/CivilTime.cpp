#include "history/CivilTime.h"

#include <cstdio>
#include <cstdlib>

namespace quorvane {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

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

// Proleptic Gregorian calendar, counted in 400-year eras.
std::int64_t DaysFromCivil(int year, int month, int day) {
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = FloorDiv(y, 400);
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

LocalTime CivilFromDays(std::int64_t days, int secondsOfDay) {
    const std::int64_t z = days + 719468;
    const std::int64_t era = FloorDiv(z, 146097);
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return LocalTime{year, month, day, secondsOfDay};
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return kDays[month - 1] + (month == 2 && leap ? 1 : 0);
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
