#include "window/StationMqtt.h"

#include "alerts/qt/AlertWatcher.h"
#include "app/ProgramName.h"
#include "input/qt/KeyPlayer.h"
#include "mqtt/qt/MqttBridge.h"
#include "window/Station.h"

namespace quorvane {

MqttBridge* ConnectMqtt(Station& station, QObject* parent) {
    auto* bridge = new MqttBridge(station.AppDirectory(), kVersionText, parent);
    QObject::connect(&station, &Station::Ticked, bridge, &MqttBridge::Follow);
    QObject::connect(&station.Alerts(), &AlertWatcher::AlertRaised, bridge, &MqttBridge::Alert);
    QObject::connect(bridge, &MqttBridge::KeyWanted, &station,
                     [&station](const std::string& key) { station.Keys().Click(key); });
    // "offline" before the station goes.
    QObject::connect(&station, &Station::ShuttingDown, bridge, &MqttBridge::Stop);
    return bridge;
}

}  // namespace quorvane
