#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <optional>
#include <string>

#include "alerts/WebHook.h"
#include "mqtt/MqttMessages.h"
#include "mqtt/MqttSettings.h"
#include "mqtt/qt/MqttLink.h"

namespace quorvane {

// The station on an MQTT broker (mqtt.txt in the app folder): what the
// scanner shows on TOPIC/state (retained, when it changes, at most five
// times a second), every hit on TOPIC/hit as it starts and ends, alerts on
// TOPIC/alert, "online"/"offline" on TOPIC/availability (the broker's last
// will says "offline" when the station is lost), Home Assistant's discovery
// configs, and with commands=1 the keys asked for on TOPIC/key. Hits and
// alerts that happen while the broker is away wait (the latest 500) and go
// out in order once it is back.
class MqttBridge : public QObject {
    Q_OBJECT
public:
    MqttBridge(QString appDirectory, QString version, QObject* parent = nullptr);

    // Reads mqtt.txt and connects when it says start=1 or asked is true
    // (--mqtt); false when it does not start, and Problem() says why when
    // that is a fault (asked, but no usable broker address).
    bool StartForRun(bool asked);
    void Stop();
    bool Running() const { return running_; }
    const QString& StateText() const { return state_; }
    const QString& Problem() const { return problem_; }
    // What mqtt.txt held that could not be used, one line each.
    const std::vector<std::string>& Notices() const { return settings_.notices; }
    const std::string& Topic() const { return topic_; }

    // After every accepted poll tick.
    void Follow(const TickOutcome& outcome);
    void Alert(const AlertFacts& facts);

signals:
    void StateChanged(const QString& text);
    // A key asked for on TOPIC/key (commands=1): the key table's name.
    void KeyWanted(const std::string& objectName);

private:
    void Send(const std::string& topic, std::string payload, bool retain);
    void SendState(const std::string& payload);
    void OnConnected();
    void OnReceived(const QString& topic, const QByteArray& payload);
    void SetState(const QString& text);

    QString appDirectory_;
    QString version_;
    MqttSettings settings_;
    std::string topic_;
    MqttLink link_;
    bool running_ = false;
    QString state_;
    QString problem_;
    StateThrottle throttle_;
    QTimer stateTimer_;
    QElapsedTimer clock_;
    std::deque<MqttMessage> waiting_;  // hits and alerts not yet taken by the broker
    std::optional<LiveHit> hit_;       // the hit on
    std::string hitStart_;             // its start, ISO 8601
    QElapsedTimer hitClock_;
    std::string lastHit_;
    std::optional<int> lastSignal_;  // of the latest tick that had one
};

}  // namespace quorvane
