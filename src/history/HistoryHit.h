#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "history/CivilTime.h"
#include "monitor/EndHit.h"

namespace quorvane {

// What names a hit in the history: the texts of its log line, with the
// system and group apart, and the frequency digits beside the frequency text.
struct HitNames {
    std::string System;
    std::string Group;
    std::string Channel;
    std::string Frequency;     // as logged, e.g. " 154.4300"
    std::string RawFrequency;  // the scanner's eight digits, e.g. 01544300; empty for imported lines
    std::string CodeOrId;      // talkgroup ID of a trunked hit, else the tone or code

    // Applies fn to each of the six texts (to turn scanner bytes into stored text).
    template <typename Fn>
    void ForEachText(Fn&& fn) {
        for (std::string* text : {&System, &Group, &Channel, &Frequency, &RawFrequency, &CodeOrId}) fn(*text);
    }
    bool operator==(const HitNames&) const = default;
};

// One row of the history.
struct HistoryHit {
    HitNames Names;
    Instant Start;
    Instant End;
    std::string RecordingFile;  // the saved recording's file name; empty when none was saved
    // With the run, tells a hit apart from every other: the key of its log
    // line and which of the run's lines with those bytes it is (1, 2, ...), so
    // a hit recorded live and the same line read back from its log file are
    // one. Occurrence 0: a hit as it ends, after all the run's lines so far.
    std::int64_t LineKey = 0;
    int Occurrence = 0;
    // The signal level (0-255): highest and mean over the hit, when known.
    std::optional<int> SignalPeak;
    std::optional<int> SignalAverage;

    // End minus start, to the millisecond; never negative.
    double DurationSeconds() const;
    // The hour of day (0-23) on the local clock when the hit started, and
    // the local date as days since 1970-01-01.
    int StartHour() const;
    std::int64_t StartDay() const;
};

// A key for a log line: a 64-bit FNV-1a hash of its bytes without the line end.
std::int64_t LineKey(std::string_view logLine);

// The row of a logged hit as its end reports it; none for a hit that was not
// logged (the automatic skip moved past it). recordingFile: the file name the
// recording was saved under, if it was.
std::optional<HistoryHit> HistoryHitFromEnded(const HitEnded& ended, Instant start, Instant end,
                                              std::string recordingFile);

}  // namespace quorvane
