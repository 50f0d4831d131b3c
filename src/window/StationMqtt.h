#pragma once
#include <QObject>

namespace quorvane {

class MqttBridge;
class Station;

// The MQTT side of a station, with or without a window: every accepted tick
// and every alert go to the broker, and the keys asked for there (with
// commands=1) go through the station's key queue like the window's. Not
// started: MqttBridge::StartForRun does that.
MqttBridge* ConnectMqtt(Station& station, QObject* parent);

}  // namespace quorvane
