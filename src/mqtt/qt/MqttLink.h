#pragma once
#include <QObject>
#include <QString>
#include <memory>
#include <string>

#include "mqtt/MqttSettings.h"

namespace quorvane {

// The connection to an MQTT broker (libmosquitto). A thread of its own
// connects, keeps the connection and tries again after a loss with a growing
// pause (1 s doubling up to a minute), so a broker that is slow, away or
// refusing never holds up the window or the poll. Publishing only hands the
// message to the library; while there is no connection Publish returns false
// and the caller keeps what it must not lose.
//
// The broker's last will is "offline" (retained) on the availability topic,
// so a station that dies is seen to be gone; Stop says "offline" itself and
// leaves cleanly.
class MqttLink : public QObject {
    Q_OBJECT
public:
    struct Setup {
        BrokerAddress broker;
        std::string caFile;        // mqtts: an authority to trust besides the system's
        std::string clientId;
        std::string willTopic;     // "offline" goes there when the station is lost
        std::string subscribeTo;   // a topic whose messages come back as Received; empty: none
    };

    explicit MqttLink(QObject* parent = nullptr);
    ~MqttLink() override;

    void Start(const Setup& setup);
    // Says "offline" on the will topic and disconnects, waiting at most
    // about a second for the broker to take it.
    void Stop();
    bool Connected() const;

    // Hands a message to the library (QoS 1); false when there is no
    // connection to send it on.
    bool Publish(const std::string& topic, const std::string& payload, bool retain);

signals:
    // The connection's state in a few words ("MQTT: connected to mqtt://host:1883",
    // "MQTT: broker refused the password", "MQTT: reconnecting in 20 s").
    void StateChanged(const QString& text);
    // The broker took the connection: retained messages are due again.
    void SessionStarted();
    void Received(const QString& topic, const QByteArray& payload);

private:
    struct Worker;
    std::shared_ptr<Worker> worker_;
};

}  // namespace quorvane
