#include "mqtt/MqttSettings.h"

#include "app/NameValueFile.h"
#include "base/Fields.h"

namespace quorvane {
namespace {

constexpr int kMqttPort = 1883;
constexpr int kMqttsPort = 8883;
constexpr size_t kMostTopicBytes = 200;

// A user or password with its "%" escapes decoded; one with a stray "%" is
// taken as written.
std::string AsWritten(std::string_view text) { return PercentDecoded(text).value_or(std::string(text)); }

}  // namespace

BrokerUrl ParseBrokerUrl(std::string_view url) {
    BrokerAddress broker;
    std::string_view rest;
    if (url.starts_with("mqtt://")) {
        rest = url.substr(7);
    } else if (url.starts_with("mqtts://")) {
        broker.tls = true;
        broker.port = kMqttsPort;
        rest = url.substr(8);
    } else {
        return {std::nullopt, "the address starts with mqtt:// or mqtts://"};
    }
    if (const size_t slash = rest.find('/'); slash != std::string_view::npos) {
        if (rest.find_first_not_of('/', slash) != std::string_view::npos) {
            return {std::nullopt, "the address names no path: the topic goes in topic="};
        }
        rest = rest.substr(0, slash);
    }
    if (const size_t at = rest.rfind('@'); at != std::string_view::npos) {
        const std::string_view credentials = rest.substr(0, at);
        const size_t colon = credentials.find(':');
        broker.user = AsWritten(credentials.substr(0, colon));
        if (colon != std::string_view::npos) broker.password = AsWritten(credentials.substr(colon + 1));
        rest = rest.substr(at + 1);
    }
    std::string_view port;
    bool hasPort = false;
    if (rest.starts_with("[")) {
        const size_t close = rest.find(']');
        if (close == std::string_view::npos) return {std::nullopt, "an IPv6 address is written [ADDRESS]:PORT"};
        broker.host = std::string(rest.substr(1, close - 1));
        rest = rest.substr(close + 1);
        if (!rest.empty() && rest.front() != ':') return {std::nullopt, "an IPv6 address is written [ADDRESS]:PORT"};
        hasPort = !rest.empty();
        if (hasPort) port = rest.substr(1);
    } else {
        const size_t colon = rest.find(':');
        broker.host = std::string(rest.substr(0, colon));
        hasPort = colon != std::string_view::npos;
        if (hasPort) port = rest.substr(colon + 1);
    }
    if (broker.host.empty()) return {std::nullopt, "the address names no host"};
    if (broker.host.find_first_of(" \t\"'") != std::string::npos) return {std::nullopt, "the host name holds a blank"};
    if (hasPort) {
        const std::optional<int> number = WholeNumberIn(port, 1, 65535);
        if (!number) return {std::nullopt, "port " + ShownValue(port) + " is not 1 to 65535"};
        broker.port = *number;
    }
    return {broker, {}};
}

std::string ShownBroker(const BrokerAddress& broker) {
    const bool v6 = broker.host.find(':') != std::string::npos;
    return std::string(broker.tls ? "mqtts://" : "mqtt://") + (v6 ? "[" : "") + broker.host + (v6 ? "]" : "") + ":" +
           std::to_string(broker.port);
}

MqttSettings ReadMqttSettings(std::string_view bytes) {
    MqttSettings settings;
    const NameValueFile file = ReadNameValueFile(bytes, kMqttSettingsFile);
    settings.notices = file.notices;
    const auto flag = [&settings](const NameValue& entry, bool& value, bool fallback) {
        const std::optional<bool> read = ZeroOrOne(entry.value);
        value = read.value_or(fallback);
        if (!read) {
            settings.notices.push_back(NoticeWhere(kMqttSettingsFile, entry.line) + entry.name + " is 0 or 1; " +
                                       (fallback ? "1" : "0") + " is used");
        }
    };
    for (const NameValue& entry : file.values) {
        const std::string where = NoticeWhere(kMqttSettingsFile, entry.line);
        if (entry.name == "start") {
            flag(entry, settings.start, false);
        } else if (entry.name == "discovery") {
            flag(entry, settings.discovery, true);
        } else if (entry.name == "commands") {
            flag(entry, settings.commands, false);
        } else if (entry.name == "url") {
            BrokerUrl url = ParseBrokerUrl(entry.value);
            settings.broker = std::move(url.broker);
            if (!settings.broker && !entry.value.empty()) {
                settings.notices.push_back(where + "url: " + url.error + "; nothing is published");
            }
        } else if (entry.name == "topic") {
            std::string topic = entry.value;
            while (topic.size() > 1 && topic.back() == '/') topic.pop_back();
            if (topic.empty() || IsPublishTopic(topic)) {
                settings.topic = topic;
            } else {
                settings.topic.clear();
                settings.notices.push_back(where + "topic " + ShownValue(entry.value) +
                                           " cannot be published to (no \"+\" or \"#\", not starting with \"/\"); "
                                           "the default is used");
            }
        } else if (entry.name == "ca_file") {
            settings.caFile = entry.value;
        } else {
            settings.notices.push_back(where + "unknown setting " + ShownValue(entry.name) + "; ignored");
        }
    }
    return settings;
}

std::string DefaultMqttTopic(std::string_view hostName) {
    std::string name;
    for (const char c : hostName) {
        const bool keep = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
        if (c >= 'A' && c <= 'Z') {
            name += static_cast<char>(c - 'A' + 'a');
        } else {
            name += keep ? c : '_';
        }
    }
    return "quorvane/" + (name.empty() ? std::string("station") : name);
}

bool IsPublishTopic(std::string_view topic) {
    return !topic.empty() && topic.size() <= kMostTopicBytes && topic.find_first_of(std::string_view("+#\0", 3)) ==
                                                                     std::string_view::npos &&
           topic.front() != '/' && topic.back() != '/';
}

}  // namespace quorvane
