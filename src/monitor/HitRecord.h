#pragma once
#include <string>

namespace quorvane {

// The hit being followed across poll ticks. Set up idle at start-up and
// again by EndHit after every hit.
struct HitRecord {
    bool HitActive = false;
    std::string SystemText;   // first name: system or site
    std::string GroupText;    // second name: group
    std::string ChannelText;  // third name: channel or talkgroup
    std::string CodeText;     // tone or code from the end of display line 2
    std::string FreqShown;    // frequency text last shown; the one logged
    bool FreqLatched = false; // FreqShown frozen while the hit lasts
    std::string StartTime;
    std::string EndTime;
    bool TrunkedHit = false;  // the talkgroup reply carried names
    bool Line1Taken = false;
    bool GroupTaken = false;
    bool Line2Taken = false;
    bool CodeTaken = false;
    bool SkipSent = false;    // the automatic skip pressed ">" during the hit
    bool Recording = false;   // a recording of the hit runs
    bool ExtendedShown = false;

    bool operator==(const HitRecord&) const = default;
};

// Values from the talkgroup ("GID") and frequency ("WIN") replies of the
// latest tick that accepted them.
struct TickValues {
    std::string TalkgroupId;   // GID field 2
    std::string GidSystem;     // GID field 4
    std::string GidGroup;      // GID field 5; non-empty marks a trunked reception
    std::string GidTalkgroup;  // GID field 6
    std::string RawFrequency;  // WIN field 2, eight digits

    bool operator==(const TickValues&) const = default;
};

}  // namespace quorvane
