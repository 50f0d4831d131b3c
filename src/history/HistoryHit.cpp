#include "history/HistoryHit.h"

#include <algorithm>

namespace quorvane {

double HistoryHit::DurationSeconds() const {
    return static_cast<double>(std::max<std::int64_t>(0, End.EpochMs - Start.EpochMs)) / 1000.0;
}

int HistoryHit::StartHour() const { return LocalTimeOf(Start).SecondsOfDay / 3600; }

std::int64_t HistoryHit::StartDay() const {
    const LocalTime local = LocalTimeOf(Start);
    return DaysFromCivil(local.Year, local.Month, local.Day);
}

std::int64_t LineKey(std::string_view logLine) {
    while (!logLine.empty() && (logLine.back() == '\n' || logLine.back() == '\r')) logLine.remove_suffix(1);
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : logLine) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return static_cast<std::int64_t>(hash);
}

std::optional<HistoryHit> HistoryHitFromEnded(const HitEnded& ended, Instant start, Instant end,
                                              std::string recordingFile) {
    if (!ended.LogLine) return std::nullopt;
    const RecordingNames& names = ended.Names;
    HistoryHit hit;
    hit.Names = {names.SystemText, names.GroupText, names.ChannelText, names.FreqShown, ended.RawFrequency,
                 ended.TrunkedHit ? names.TalkgroupId : names.CodeText};
    hit.Start = start;
    hit.End = end;
    hit.RecordingFile = std::move(recordingFile);
    hit.LineKey = LineKey(*ended.LogLine);
    hit.SignalPeak = ended.SignalPeak;
    hit.SignalAverage = ended.SignalAverage;
    return hit;
}

}  // namespace quorvane
