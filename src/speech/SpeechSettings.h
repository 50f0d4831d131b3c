#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "monitor/TickOutcome.h"

namespace quorvane {

inline constexpr const char* kSpeechSettingsFile = "speech.txt";

// speech.txt in the app folder: "name=value" lines (NameValueFile).
//   speak=1    say the channel's name when a hit starts (0, the default: silent)
// An unknown name or a value other than 0 or 1 gives a notice and keeps
// the default.
struct SpeechSettings {
    bool speak = false;
    std::vector<std::string> notices;
};
SpeechSettings ReadSpeechSettings(std::string_view bytes);
std::string WriteSpeechSettings(const SpeechSettings& settings);

// What is said when a hit starts: the channel's name as the log will show
// it, else its group, else its system, else the frequency or talkgroup
// shown. Scanner bytes, blanks at the ends dropped.
std::string HitPhrase(const LiveHit& hit);

}  // namespace quorvane
