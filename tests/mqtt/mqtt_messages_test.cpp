#include "mqtt/MqttMessages.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace quorvane {
namespace {

using Json = nlohmann::json;

LiveHit Fire() {
    LiveHit hit;
    hit.SystemText = "County ";
    hit.GroupText = "Fire";
    hit.ChannelText = "Caf\xE9 Disp";  // a scanner byte beyond ASCII
    hit.RawFrequency = "01544300";
    hit.FreqShown = "154.4300";
    return hit;
}

TEST(MqttMessages, StateSaysWhatTheScannerShowsAndTheHitOn) {
    TickOutcome tick;
    tick.DisplayLine1 = "Hold    Fire    ";
    tick.DisplayLine2 = "Caf\xE9 Disp       ";
    tick.FreqBox = " 154.4300";
    tick.SignalLevel = 142;
    const Json on = Json::parse(StateJson(StateOfTick(tick, Fire(), "")));
    EXPECT_EQ(on["mode"], "holding");
    EXPECT_EQ(on["receiving"], true);
    EXPECT_EQ(on["line1"], "Hold    Fire");
    EXPECT_EQ(on["line2"], "Caf\u00e9 Disp");
    EXPECT_EQ(on["frequency"], "154.4300");
    EXPECT_EQ(on["channel"], "Caf\u00e9 Disp");
    EXPECT_EQ(on["signal"], 142);

    tick.DisplayLine1 = "  Scanning...   ";
    tick.SignalLevel.reset();
    const Json idle = Json::parse(StateJson(StateOfTick(tick, std::nullopt, "Fire, 154.4300 MHz, t")));
    EXPECT_EQ(idle["mode"], "scanning");
    EXPECT_EQ(idle["receiving"], false);
    EXPECT_EQ(idle["channel"], "");
    EXPECT_TRUE(idle["signal"].is_null());
    EXPECT_EQ(idle["last_hit"], "Fire, 154.4300 MHz, t");
}

TEST(MqttMessages, HitsStartAndEndWithTheirNamesTimesAndSignal) {
    const Json start = Json::parse(HitJson(HitStartMessage(Fire(), "2026-12-06T14:03:11+01:00")));
    EXPECT_EQ(start["event"], "start");
    EXPECT_EQ(start["frequency_hz"], 154430000);
    EXPECT_EQ(start["system"], "County");
    EXPECT_FALSE(start.contains("duration"));

    HitEnded ended;
    ended.RawFrequency = "08561125";
    ended.TrunkedHit = true;
    ended.Names.SystemText = "Metro";
    ended.Names.ChannelText = "PD North";
    ended.Names.TalkgroupId = " 0123";
    ended.SignalPeak = 200;
    ended.SignalAverage = 150;
    const HitReport report = HitEndMessage(ended, "2026-12-06T14:03:11+01:00", 4.26, 90);
    const Json end = Json::parse(HitJson(report));
    EXPECT_EQ(end["event"], "end");
    EXPECT_EQ(end["frequency"], "856.1125");
    EXPECT_EQ(end["talkgroup"], "0123");
    EXPECT_EQ(end["trunked"], true);
    EXPECT_DOUBLE_EQ(end["duration"].get<double>(), 4.3);
    EXPECT_EQ(end["signal"], 90);
    EXPECT_EQ(end["signal_peak"], 200);
    EXPECT_EQ(LastHitText(report), "PD North, ID 0123, 2026-12-06T14:03:11+01:00");
    ended.RawFrequency = "00000000";
    EXPECT_TRUE(Json::parse(HitJson(HitEndMessage(ended, "t", 1, std::nullopt)))["frequency_hz"].is_null());
}

TEST(MqttMessages, HomeAssistantFindsAScannerWithItsSensors) {
    const auto configs = DiscoveryMessages("quorvane/attic", "V1.0b");
    ASSERT_EQ(configs.size(), 6u);
    std::vector<std::string> names;
    for (const MqttMessage& message : configs) {
        EXPECT_TRUE(message.retain);
        const Json config = Json::parse(message.payload);
        names.push_back(config["name"]);
        EXPECT_EQ(config["state_topic"], "quorvane/attic/state");
        EXPECT_EQ(config["availability_topic"], "quorvane/attic/availability");
        EXPECT_EQ(config["device"]["name"], "Scanner");
        EXPECT_EQ(config["device"]["identifiers"][0], "quorvane_attic");
        EXPECT_EQ(message.topic, "homeassistant/" + std::string(config.contains("payload_on") ? "binary_sensor" : "sensor") +
                                     "/quorvane_attic/" + config["unique_id"].get<std::string>().substr(15) + "/config");
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Channel", "Frequency", "Talkgroup", "Signal", "Last hit", "Receiving"}));
    for (const MqttMessage& removal : DiscoveryRemovals("quorvane/attic")) EXPECT_EQ(removal.payload, "");
}

TEST(MqttMessages, OnlyKeysOfTheKeypadCanBeCommanded) {
    const struct {
        const char* payload;
        std::optional<std::string> key;
    } cases[] = {
        {"scan", "key_scan"}, {" HOLD\n", "key_hold"}, {"1", "key_1"}, {"key_lo", "key_lo"}, {"g3", "key_g3"},
        {"", std::nullopt},   {"reboot", std::nullopt}, {"key_", std::nullopt}, {"PRG", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(KeyOfCommand(c.payload), c.key) << c.payload;
}

TEST(MqttMessages, StateGoesOutAtOnceThenAtMostFiveTimesASecondNewestFirst) {
    StateThrottle throttle;
    EXPECT_EQ(throttle.Offer("a", 1000), "a");
    EXPECT_EQ(throttle.Offer("a", 1300), std::nullopt);  // no change
    EXPECT_EQ(throttle.Offer("b", 1350), "b");
    EXPECT_EQ(throttle.Offer("c", 1400), std::nullopt);  // too soon: held
    EXPECT_EQ(throttle.Offer("d", 1450), std::nullopt);
    EXPECT_EQ(throttle.DueAt(), 1550);
    EXPECT_EQ(throttle.TakeDue(1500), std::nullopt);
    EXPECT_EQ(throttle.TakeDue(1550), "d");  // only the newest
    EXPECT_EQ(throttle.DueAt(), std::nullopt);
    EXPECT_EQ(throttle.Offer("e", 1600), std::nullopt);
    EXPECT_EQ(throttle.Offer("d", 1610), std::nullopt);  // back to what was sent: nothing held
    EXPECT_EQ(throttle.DueAt(), std::nullopt);
    EXPECT_EQ(throttle.Latest(), "d");
}

}  // namespace
}  // namespace quorvane
