#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "monitor/HitIntelTable.h"
#include "monitor/HitRecord.h"

namespace quorvane {

// The eight texts that name a hit's recording, as they stood when the hit
// ended (not yet made file-name safe).
struct RecordingNames {
    std::string SystemText;
    std::string GroupText;
    std::string ChannelText;
    std::string FreqShown;
    std::string CodeText;
    std::string TalkgroupId;
    std::string StartTime;
    std::string EndTime;
};

// What the end of a hit asks of the window.
struct HitEnded {
    // The log line (ending in CR LF) to put at the top of the log; none for a
    // hit the automatic skip moved past.
    std::optional<std::string> LogLine;
    // Stop the recording and save it under Names ("Record Audio" ticked and
    // the hit not skipped). HitRecord::Recording is already cleared then.
    bool StopRecording = false;
    RecordingNames Names;
    // The frequency digits of the hit, and whether the log line's fifth field
    // is the talkgroup ID (a trunked hit) rather than the tone or code.
    std::string RawFrequency;
    bool TrunkedHit = false;
    // The scanner's signal level (WIN field 1, 0-255) over the hit: its
    // highest and its mean; none when no tick of the hit read one.
    std::optional<int> SignalPeak;
    std::optional<int> SignalAverage;
};

// What the hit end reads besides the hit itself.
struct HitEndContext {
    const HitIntelTable& Table;
    std::string_view IconsSet1;  // icon row 1 as shown before this tick
    bool RecordAudioTicked = false;
    std::string EndTime;         // time of day now
    std::string_view LaunchDate; // "mm-dd-yyyy" of the run
};

// Ends the hit: fills missing names from the hit-intelligence table by
// frequency, cleans them, builds the log line
//   system " / " group TAB channel TAB frequency TAB code-or-talkgroup TAB
//   start TAB end TAB launch date CR LF
// and resets the record (all but Recording) and the talkgroup values (all but
// RawFrequency).
//
// Table entries with fewer than four columns: a missing column never equals
// anything and an assignment from it is skipped; the rest of the entry is
// used.
HitEnded EndHit(HitRecord& hit, TickValues& values, const HitEndContext& context);

}  // namespace quorvane
