#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "alerts/WebHook.h"
#include "monitor/EndHit.h"
#include "monitor/TickOutcome.h"

namespace quorvane {

// The topics under the station's own (TOPIC):
//   TOPIC/state         retained: what the scanner shows now
//   TOPIC/hit           a hit starts, and ends
//   TOPIC/alert         an alert went off
//   TOPIC/availability  retained: "online", or "offline" (also the broker's last will)
//   TOPIC/key           with commands=1: a key name to press
inline constexpr std::string_view kStateTopic = "/state";
inline constexpr std::string_view kHitTopic = "/hit";
inline constexpr std::string_view kAlertTopic = "/alert";
inline constexpr std::string_view kAvailabilityTopic = "/availability";
inline constexpr std::string_view kKeyTopic = "/key";
inline constexpr std::string_view kOnline = "online";
inline constexpr std::string_view kOffline = "offline";

struct MqttMessage {
    std::string topic;
    std::string payload;
    bool retain = false;

    bool operator==(const MqttMessage&) const = default;
};

// What the scanner shows, as TOPIC/state says it. Texts are UTF-8.
struct ScannerState {
    bool receiving = false;  // a hit is on
    bool holding = false;    // the user holds a channel (display line 1 reads "Hold")
    std::string line1;
    std::string line2;
    std::string frequency;   // MHz as the window shows it ("154.4300"), empty when none
    std::string talkgroup;   // of the hit on, when trunked
    std::string system;      // names of the hit on
    std::string group;
    std::string channel;
    std::optional<int> signal;  // 0-255
    std::string lastHit;     // "Fire Dispatch, 154.4300 MHz at 2026-12-06T14:03:11+01:00"

    bool operator==(const ScannerState&) const = default;
};

// The state after a poll tick: its display and frequency box, and the hit on
// (none when the scanner is not receiving).
ScannerState StateOfTick(const TickOutcome& outcome, const std::optional<LiveHit>& hit, std::string lastHit);
// {"mode":"scanning"|"holding","receiving":false,"line1":...,"line2":...,
//  "frequency":"154.4300","talkgroup":"","system":...,"group":...,
//  "channel":...,"signal":120 (null when unknown),"last_hit":...}
std::string StateJson(const ScannerState& state);

// One TOPIC/hit message: {"event":"start"|"end","start":ISO 8601,
//  "frequency":"154.4300","frequency_hz":154430000,"talkgroup":"","trunked":false,
//  "system":...,"group":...,"channel":...} and, at the end, "duration" (s),
//  "signal" (the last level seen), "signal_peak" and "signal_average".
struct HitReport {
    bool ended = false;
    std::string start;  // ISO 8601 with offset
    std::string rawFrequency;  // the scanner's eight digits
    std::string talkgroup;
    bool trunked = false;
    std::string system;  // UTF-8
    std::string group;
    std::string channel;
    double durationSeconds = 0;
    std::optional<int> signal;
    std::optional<int> signalPeak;
    std::optional<int> signalAverage;
};
HitReport HitStartMessage(const LiveHit& hit, std::string startIso);
HitReport HitEndMessage(const HitEnded& ended, std::string startIso, double durationSeconds,
                         std::optional<int> lastSignal);
std::string HitJson(const HitReport& hit);
// The state's "last_hit": the best name, where ("154.4300 MHz" or
// "ID 12345") and when it started: "Fire Dispatch, 154.4300 MHz, 2026-12-06T14:03:11+01:00".
std::string LastHitText(const HitReport& hit);

// Home Assistant's discovery configs (retained, under homeassistant/): a
// "Scanner" device with sensors for the channel, frequency, talkgroup,
// signal and last hit, and a binary sensor "Receiving", all read from
// TOPIC/state and following TOPIC/availability.
std::vector<MqttMessage> DiscoveryMessages(std::string_view topic, std::string_view version);
// The same topics with empty payloads: Home Assistant forgets the device.
std::vector<MqttMessage> DiscoveryRemovals(std::string_view topic);

// A key asked for on TOPIC/key: a name as the browser remote's keys have
// them ("key_scan") or without "key_" ("scan", "hold", "1"), blanks and case
// aside. The key table's name, or nothing for anything else.
std::optional<std::string> KeyOfCommand(std::string_view payload);

// TOPIC/state goes out when it changes, at most once per kStateEveryMs: a
// change within that time waits and goes out at its end (only the newest).
class StateThrottle {
public:
    static constexpr std::int64_t kStateEveryMs = 200;
    // A new state at nowMs: the payload to send at once, or nothing (held,
    // or no change).
    std::optional<std::string> Offer(std::string payload, std::int64_t nowMs);
    // When the held payload is due; nothing when none is held.
    std::optional<std::int64_t> DueAt() const;
    // The held payload once due.
    std::optional<std::string> TakeDue(std::int64_t nowMs);
    // The last payload offered (sent or held): sent again on a new connection.
    const std::string& Latest() const { return latest_; }

private:
    std::string latest_;
    std::string sent_;
    std::optional<std::int64_t> sentAt_;
    bool held_ = false;
};

}  // namespace quorvane
