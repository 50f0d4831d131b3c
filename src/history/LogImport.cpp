#include "history/LogImport.h"

#include <charconv>
#include <map>

#include "base/Fields.h"
#include "base/Numbers.h"

namespace quorvane {
namespace {

std::optional<int> Number(std::string_view text, int low, int high) {
    const std::optional<long long> value = WholeNumber(text, low, high);
    if (!value) return std::nullopt;
    return static_cast<int>(*value);
}

// "h", "mm", "ss" and an optional AM/PM, already split apart.
std::optional<int> SecondsOfDay(std::string_view hour, std::string_view minute, std::string_view second,
                                std::string_view half) {
    const bool twelveHour = !half.empty();
    const auto h = Number(hour, twelveHour ? 1 : 0, twelveHour ? 12 : 23);
    const auto m = Number(minute, 0, 59);
    const auto s = Number(second, 0, 59);
    if (!h || !m || !s) return std::nullopt;
    int hours = *h;
    if (twelveHour) {
        const bool pm = half == "PM" || half == "pm";
        if (!pm && half != "AM" && half != "am") return std::nullopt;
        hours = hours % 12 + (pm ? 12 : 0);
    }
    return hours * 3600 + *m * 60 + *s;
}

// "mm-dd-yyyy".
std::optional<LocalTime> ParseDate(std::string_view text) {
    const std::vector<std::string> parts = SplitFields(text, '-');
    if (parts.size() != 3 || parts[0].size() != 2 || parts[1].size() != 2 || parts[2].size() != 4) return std::nullopt;
    const auto month = Number(parts[0], 1, 12);
    const auto year = Number(parts[2], 1900, 9999);
    if (!month || !year) return std::nullopt;
    const auto day = Number(parts[1], 1, DaysInMonth(*year, *month));
    if (!day) return std::nullopt;
    return LocalTime{*year, *month, *day, 0};
}

std::optional<LoggedHit> ParseLine(std::string_view line) {
    const std::vector<std::string> fields = SplitFields(line, '\t');
    if (fields.size() != 7) return std::nullopt;
    const size_t slash = fields[0].find(" / ");
    const auto start = ParseTimeOfDay(fields[4]);
    const auto end = ParseTimeOfDay(fields[5]);
    const auto date = ParseDate(fields[6]);
    if (slash == std::string::npos || !start || !end || !date) return std::nullopt;
    LoggedHit hit;
    hit.Names = {fields[0].substr(0, slash), fields[0].substr(slash + 3), fields[1], fields[2], {}, fields[3]};
    hit.Start = LocalTime{date->Year, date->Month, date->Day, *start};
    hit.End = LocalTime{date->Year, date->Month, date->Day, *end};
    hit.LineKey = LineKey(line);
    return hit;
}

}  // namespace

std::optional<int> ParseTimeOfDay(std::string_view text) {
    std::string_view half;
    if (const size_t blank = text.find(' '); blank != std::string_view::npos) {
        half = text.substr(blank + 1);
        text = text.substr(0, blank);
    }
    const std::vector<std::string> parts = SplitFields(text, ':');
    if (parts.size() != 3 || parts[1].size() != 2 || parts[2].size() != 2) return std::nullopt;
    return SecondsOfDay(parts[0], parts[1], parts[2], half);
}

std::optional<LogFileStamp> ParseLogFileName(std::string_view fileName, std::string* problem) {
    constexpr std::string_view kExtension = ".txt";
    if (fileName.size() < 11 + kExtension.size() || fileName.substr(fileName.size() - 4) != kExtension) {
        return std::nullopt;
    }
    const std::string_view date = fileName.substr(0, 10);
    const std::string_view time = fileName.substr(11, fileName.size() - 11 - kExtension.size());
    const std::vector<std::string> dateParts = SplitFields(date, '-');
    const std::vector<std::string> parts = SplitFields(time, '-');
    const auto digits = [](std::string_view text) { return text.find_first_not_of("0123456789") == std::string_view::npos; };
    // Shaped like a run's log name: mm-dd-yyyy_h-mm-ss-AP.
    const bool shaped = fileName[10] == '_' && dateParts.size() == 3 && dateParts[0].size() == 2 &&
                        dateParts[1].size() == 2 && dateParts[2].size() == 4 && digits(dateParts[0]) &&
                        digits(dateParts[1]) && digits(dateParts[2]) && parts.size() == 4 &&
                        parts[1].size() == 2 && parts[2].size() == 2;
    if (!shaped) return std::nullopt;
    const auto day = ParseDate(date);
    if (!day) {
        if (problem) *problem = std::string(date) + " is not a date";
        return std::nullopt;
    }
    const auto seconds = SecondsOfDay(parts[0], parts[1], parts[2], parts[3]);
    if (!seconds) {
        if (problem) *problem = std::string(time) + " is not a time of day";
        return std::nullopt;
    }
    return LogFileStamp{LocalTime{day->Year, day->Month, day->Day, *seconds}, std::string(date), std::string(time)};
}

LogFileHits ParseLogFile(std::string_view bytes, const LogFileStamp& stamp) {
    std::vector<std::string_view> lines;
    size_t from = 0;
    while (from < bytes.size()) {
        size_t end = bytes.find('\n', from);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(from, end - from);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty()) lines.push_back(line);
        from = end + 1;
    }

    LogFileHits result;
    const std::int64_t launchDay = DaysFromCivil(stamp.Launch.Year, stamp.Launch.Month, stamp.Launch.Day);
    int daysOn = 0;
    int previousStart = stamp.Launch.SecondsOfDay;
    bool clockBack = false;  // the clock went back since the day began
    std::map<std::int64_t, int> seen;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        std::optional<LoggedHit> hit = ParseLine(*line);
        if (!hit) {
            ++result.Unreadable;
            continue;
        }
        hit->Occurrence = ++seen[hit->LineKey];
        // The line's date is the run's; only a line of another run's date is
        // taken at its word.
        const std::int64_t lineDay = DaysFromCivil(hit->Start.Year, hit->Start.Month, hit->Start.Day);
        if (lineDay == launchDay) {
            const int start = hit->Start.SecondsOfDay;
            if (start < previousStart - kClockChangeSeconds) {
                ++daysOn;
                clockBack = false;
            } else if (start < previousStart) {
                clockBack = true;
            }
            previousStart = start;
            hit->Start = AddDays(hit->Start, daysOn);
            hit->End = AddDays(hit->End, daysOn);
            hit->StartAfterClockBack = clockBack;
        }
        const int start = hit->Start.SecondsOfDay;
        const int end = hit->End.SecondsOfDay;
        hit->EndAfterClockBack = hit->StartAfterClockBack || (end < start && end >= start - kClockChangeSeconds);
        if (end < start - kClockChangeSeconds) {
            hit->End = AddDays(hit->Start, 1);
            hit->End.SecondsOfDay = end;
            hit->EndAfterClockBack = false;
        }
        result.Hits.push_back(std::move(*hit));
    }
    return result;
}

}  // namespace quorvane
