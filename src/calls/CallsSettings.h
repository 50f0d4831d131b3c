#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

inline constexpr const char* kCallsSettingsFile = "calls.txt";
// The calls not yet delivered, one file each, in the app folder.
inline constexpr const char* kCallsQueueFolder = "calls_queue";

// One server that takes calls.
struct CallServer {
    std::string kind;  // "rdio-scanner"
    std::string url;
    std::string key;
    std::string system;  // the server's system number

    friend bool operator==(const CallServer&, const CallServer&) = default;
};

// calls.txt in the app folder: 8-bit text, one entry a line, words
// separated by blanks, "#" lines are comments:
//
//   rdio-scanner URL KEY SYSTEM     a server that takes every hit
//   talkgroup NUMBER CHANNEL NAME   the talkgroup number a conventional
//                                   channel is sent under (the rest of the
//                                   line is the channel's name as logged)
//
// A line that cannot be used gives a notice; the rest still counts.
struct CallsSettings {
    std::vector<CallServer> servers;
    std::map<std::string, long long> channelTalkgroups;  // channel name (lower case) -> number
    std::vector<std::string> notices;
};

CallsSettings ReadCallsSettings(std::string_view bytes);

// What is uploaded with a hit's recording (texts in UTF-8).
struct CallMetadata {
    std::string startUtc;  // RFC 3339, "2026-12-06T15:20:01.000Z"
    long long frequencyHz = 0;
    long long talkgroup = 0;
    std::string system;
    std::string group;
    std::string channel;
};

// The frequency in Hz of the scanner's eight frequency digits (four of MHz,
// four of 100 Hz): "01544300" -> 154430000; 0 when they are no number.
long long FrequencyHz(std::string_view rawFrequency);

// The talkgroup a hit is sent under. A trunked hit: its talkgroup ID. A
// conventional hit: the number calls.txt gives its channel name, else the
// frequency in units of 100 Hz (the scanner's eight digits as a number:
// 154.4300 MHz -> 1544300), which stays the same for a channel from run to
// run and differs between channels, and needs no table.
long long CallTalkgroup(const CallsSettings& settings, bool trunked, std::string_view talkgroupId,
                        std::string_view channel, std::string_view rawFrequency);

// The form fields of an upload besides the audio, in the order they are sent.
std::vector<std::pair<std::string, std::string>> CallFields(const CallServer& server, const CallMetadata& call);

// What to do after an upload's answer: delivered; wait and send it again
// (no answer, a timeout, 5xx, 408, 429); refused (any other 4xx, say so once
// and drop it).
enum class CallOutcome { Delivered, Retry, Refused };
CallOutcome ClassifyAnswer(int httpStatus);

// A queued call: the server, the metadata and the recording's path, as one
// "name=value" file (so the queue outlives a restart and a change of
// calls.txt still sends each call where it was meant to go).
struct QueuedCall {
    CallServer server;
    CallMetadata call;
    std::string recording;  // file-system bytes
};
std::string WriteQueuedCall(const QueuedCall& queued);
std::optional<QueuedCall> ReadQueuedCall(std::string_view bytes);

// The "Calls" line of the window: "Calls: off" with no server and nothing
// queued.
std::string CallsStateText(int queued, std::string_view lastError, bool anyServer = true);

}  // namespace quorvane
