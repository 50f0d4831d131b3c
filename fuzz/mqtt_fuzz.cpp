// The first piece as mqtt.txt, the second as a broker address and the third
// as a key asked for; the rest, five at a time, as hits (system, group,
// channel, frequency digits, talkgroup ID) whose state and hit messages must
// be JSON that reads back.
#include <nlohmann/json.hpp>

#include "FuzzInput.h"
#include "mqtt/MqttMessages.h"
#include "mqtt/MqttSettings.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> pieces = fuzz::Pieces(data, size, 64);
    const MqttSettings settings = ReadMqttSettings(pieces[0]);
    fuzz::Require(settings.topic.empty() || IsPublishTopic(settings.topic));
    if (pieces.size() > 1) {
        const BrokerUrl url = ParseBrokerUrl(pieces[1]);
        fuzz::Require(url.broker.has_value() == url.error.empty());
        if (url.broker) fuzz::Require(url.broker->port >= 1 && url.broker->port <= 65535 && !url.broker->host.empty());
    }
    if (pieces.size() > 2) {
        if (const auto key = KeyOfCommand(pieces[2])) fuzz::Require(key->rfind("key_", 0) == 0);
        fuzz::Require(IsPublishTopic(DefaultMqttTopic(pieces[2])));
    }
    for (size_t i = 3; i + 5 <= pieces.size(); i += 5) {
        LiveHit hit{pieces[i], pieces[i + 1], pieces[i + 2], pieces[i + 3], pieces[i + 3], pieces[i + 4]};
        TickOutcome tick;
        tick.DisplayLine1 = pieces[i];
        tick.DisplayLine2 = pieces[i + 2];
        tick.FreqBox = pieces[i + 3];
        const ScannerState state = StateOfTick(tick, hit, pieces[i + 1]);
        fuzz::Require(!nlohmann::json::parse(StateJson(state), nullptr, false).is_discarded());
        const HitReport report = HitStartMessage(hit, pieces[i + 4]);
        fuzz::Require(!nlohmann::json::parse(HitJson(report), nullptr, false).is_discarded());
    }
    return 0;
}
