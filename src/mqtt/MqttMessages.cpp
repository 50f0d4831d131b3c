#include "mqtt/MqttMessages.h"

#include <nlohmann/json.hpp>

#include "alerts/AlertList.h"
#include "input/KeyTable.h"
#include "base/Fields.h"
#include "base/ScreenGlyphs.h"

namespace quorvane {
namespace {

using Json = nlohmann::json;

std::string Dumped(const Json& json) { return json.dump(-1, ' ', false, Json::error_handler_t::replace); }

std::string Utf8(std::string_view scannerBytes) { return ScreenTextUtf8(TrimBlanks(scannerBytes)); }

Json OrNull(const std::optional<int>& value) { return value ? Json(*value) : Json(); }

struct Entity {
    std::string_view component;  // sensor, binary_sensor
    std::string_view id;
    std::string_view name;
    std::string_view templ;
    std::string_view icon;
    std::string_view unit;
};
constexpr Entity kEntities[] = {
    {"sensor", "channel", "Channel", "{{ value_json.channel }}", "mdi:radio-tower", ""},
    {"sensor", "frequency", "Frequency", "{{ value_json.frequency }}", "mdi:sine-wave", "MHz"},
    {"sensor", "talkgroup", "Talkgroup", "{{ value_json.talkgroup }}", "mdi:account-group", ""},
    {"sensor", "signal", "Signal", "{{ value_json.signal }}", "mdi:signal", ""},
    {"sensor", "last_hit", "Last hit", "{{ value_json.last_hit }}", "mdi:history", ""},
    {"binary_sensor", "receiving", "Receiving", "{{ 'ON' if value_json.receiving else 'OFF' }}", "mdi:radio-handheld",
     ""},
};

// The station's topic as an identifier Home Assistant accepts: letters,
// digits, "_" and "-".
std::string NodeId(std::string_view topic) {
    std::string id;
    for (const char c : topic) {
        const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
        id += keep ? c : '_';
    }
    return id;
}

std::string ConfigTopic(const Entity& entity, std::string_view node) {
    return "homeassistant/" + std::string(entity.component) + "/" + std::string(node) + "/" + std::string(entity.id) +
           "/config";
}

}  // namespace

ScannerState StateOfTick(const TickOutcome& outcome, const std::optional<LiveHit>& hit, std::string lastHit) {
    ScannerState state;
    state.line1 = Utf8(outcome.DisplayLine1);
    state.line2 = Utf8(outcome.DisplayLine2);
    state.holding = Contains(outcome.DisplayLine1, "Hold");
    state.frequency = TrimBlanks(outcome.FreqBox);
    state.signal = outcome.SignalLevel;
    state.lastHit = std::move(lastHit);
    if (hit) {
        state.receiving = true;
        state.talkgroup = TrimBlanks(hit->TalkgroupId);
        state.system = Utf8(hit->SystemText);
        state.group = Utf8(hit->GroupText);
        state.channel = Utf8(hit->ChannelText);
    }
    return state;
}

std::string StateJson(const ScannerState& state) {
    return Dumped({{"mode", state.holding ? "holding" : "scanning"},
                   {"receiving", state.receiving},
                   {"line1", state.line1},
                   {"line2", state.line2},
                   {"frequency", state.frequency},
                   {"talkgroup", state.talkgroup},
                   {"system", state.system},
                   {"group", state.group},
                   {"channel", state.channel},
                   {"signal", OrNull(state.signal)},
                   {"last_hit", state.lastHit}});
}

HitReport HitStartMessage(const LiveHit& hit, std::string startIso) {
    HitReport message;
    message.start = std::move(startIso);
    message.rawFrequency = hit.RawFrequency;
    message.talkgroup = TrimBlanks(hit.TalkgroupId);
    message.trunked = hit.TrunkedHit;
    message.system = Utf8(hit.SystemText);
    message.group = Utf8(hit.GroupText);
    message.channel = Utf8(hit.ChannelText);
    return message;
}

HitReport HitEndMessage(const HitEnded& ended, std::string startIso, double durationSeconds,
                         std::optional<int> lastSignal) {
    HitReport message;
    message.ended = true;
    message.start = std::move(startIso);
    message.rawFrequency = ended.RawFrequency;
    message.talkgroup = TrimBlanks(ended.Names.TalkgroupId);
    message.trunked = ended.TrunkedHit;
    message.system = Utf8(ended.Names.SystemText);
    message.group = Utf8(ended.Names.GroupText);
    message.channel = Utf8(ended.Names.ChannelText);
    message.durationSeconds = durationSeconds;
    message.signal = lastSignal;
    message.signalPeak = ended.SignalPeak;
    message.signalAverage = ended.SignalAverage;
    return message;
}

std::string HitJson(const HitReport& hit) {
    const std::optional<std::uint32_t> units = FrequencyDigitsUnits(hit.rawFrequency);  // of 100 Hz
    Json json = {{"event", hit.ended ? "end" : "start"},
                 {"start", hit.start},
                 {"frequency", MegahertzText(hit.rawFrequency)},
                 {"frequency_hz", units ? Json(static_cast<std::int64_t>(*units) * 100) : Json()},
                 {"talkgroup", hit.talkgroup},
                 {"trunked", hit.trunked},
                 {"system", hit.system},
                 {"group", hit.group},
                 {"channel", hit.channel}};
    if (hit.ended) {
        // Tenths of a second: the poll's own resolution.
        json["duration"] = static_cast<double>(static_cast<std::int64_t>(hit.durationSeconds * 10 + 0.5)) / 10;
        json["signal"] = OrNull(hit.signal);
        json["signal_peak"] = OrNull(hit.signalPeak);
        json["signal_average"] = OrNull(hit.signalAverage);
    }
    return Dumped(json);
}

std::string LastHitText(const HitReport& hit) {
    std::string text;
    for (const std::string* name : {&hit.channel, &hit.group, &hit.system}) {
        if (text.empty()) text = *name;
    }
    const std::string megahertz = MegahertzText(hit.rawFrequency);
    const std::string where = hit.trunked && !hit.talkgroup.empty() ? "ID " + hit.talkgroup
                              : megahertz.empty()                    ? std::string()
                                                                     : megahertz + " MHz";
    for (const std::string& part : {where, hit.start}) {
        if (part.empty()) continue;
        text += (text.empty() ? "" : ", ") + part;
    }
    return text;
}

std::vector<MqttMessage> DiscoveryMessages(std::string_view topic, std::string_view version) {
    const std::string node = NodeId(topic);
    const std::string base(topic);
    const Json device = {{"identifiers", Json::array({node})},
                         {"name", "Scanner"},
                         {"manufacturer", "Uniden"},
                         {"model", "BC246T"},
                         {"sw_version", std::string(version)}};
    std::vector<MqttMessage> messages;
    for (const Entity& entity : kEntities) {
        Json config = {{"name", entity.name},
                       {"unique_id", node + "_" + std::string(entity.id)},
                       {"object_id", node + "_" + std::string(entity.id)},
                       {"state_topic", base + std::string(kStateTopic)},
                       {"value_template", entity.templ},
                       {"availability_topic", base + std::string(kAvailabilityTopic)},
                       {"payload_available", kOnline},
                       {"payload_not_available", kOffline},
                       {"icon", entity.icon},
                       {"device", device}};
        if (!entity.unit.empty()) config["unit_of_measurement"] = entity.unit;
        if (entity.id == "signal") config["state_class"] = "measurement";
        if (entity.component == "binary_sensor") {
            config["payload_on"] = "ON";
            config["payload_off"] = "OFF";
        }
        messages.push_back({ConfigTopic(entity, node), Dumped(config), true});
    }
    return messages;
}

std::vector<MqttMessage> DiscoveryRemovals(std::string_view topic) {
    std::vector<MqttMessage> messages;
    for (const Entity& entity : kEntities) messages.push_back({ConfigTopic(entity, NodeId(topic)), "", true});
    return messages;
}

std::optional<std::string> KeyOfCommand(std::string_view payload) {
    const size_t first = payload.find_first_not_of(" \t\r\n");
    const size_t last = payload.find_last_not_of(" \t\r\n");
    std::string name(first == std::string_view::npos ? std::string_view() : payload.substr(first, last - first + 1));
    if (name.empty() || name.size() > 32) return std::nullopt;
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    for (const std::string& candidate : {name, "key_" + name}) {
        if (const KeyRow* key = FindKey(candidate)) return std::string(key->objectName);
    }
    return std::nullopt;
}

std::optional<std::string> StateThrottle::Offer(std::string payload, std::int64_t nowMs) {
    latest_ = std::move(payload);
    if (latest_ == sent_ && sentAt_) {
        held_ = false;
        return std::nullopt;
    }
    if (sentAt_ && nowMs - *sentAt_ < kStateEveryMs) {
        held_ = true;
        return std::nullopt;
    }
    held_ = false;
    sent_ = latest_;
    sentAt_ = nowMs;
    return sent_;
}

std::optional<std::int64_t> StateThrottle::DueAt() const {
    if (!held_ || !sentAt_) return std::nullopt;
    return *sentAt_ + kStateEveryMs;
}

std::optional<std::string> StateThrottle::TakeDue(std::int64_t nowMs) {
    const std::optional<std::int64_t> due = DueAt();
    if (!due || nowMs < *due) return std::nullopt;
    held_ = false;
    sent_ = latest_;
    sentAt_ = nowMs;
    return sent_;
}

}  // namespace quorvane
