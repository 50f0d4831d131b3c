#include "mqtt/qt/MqttLink.h"

#include <mosquitto.h>

#include <QMetaObject>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <future>
#include <mutex>
#include <thread>

#include "app/RetryPause.h"

namespace quorvane {
namespace {

constexpr int kKeepAliveSeconds = 30;
constexpr int kLoopTimeoutMs = 1000;  // the library wakes the loop itself when there is something to send
constexpr int kConnackWithinMs = 10000;
constexpr auto kStopWithin = std::chrono::milliseconds(1500);

void InitLibraryOnce() {
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

QString RefusalText(int reasonCode) {
    // The CONNACK return codes of MQTT 3.1.1.
    switch (reasonCode) {
    case 1: return "MQTT: broker refused the protocol version";
    case 2: return "MQTT: broker refused the client name";
    case 3: return "MQTT: broker unavailable";
    case 4:
    case 5: return "MQTT: broker refused the password";
    default: return QString("MQTT: broker refused the connection (%1)").arg(reasonCode);
    }
}

// Why a broker could not be reached: the system's word for a failed call.
QString Unreachable(const QString& where, int rc, int error) {
    const char* why = rc == MOSQ_ERR_ERRNO ? std::strerror(error) : mosquitto_strerror(rc);
    return QString("MQTT: cannot reach %1 (%2)").arg(where, why);
}

}  // namespace

// What the connection thread and the window share. The thread keeps it alive
// by its own reference, so a thread that is still inside a slow name look-up
// when the program ends can be let go without touching freed memory.
struct MqttLink::Worker {
    MqttLink* owner = nullptr;  // under mutex; none once stopped
    MqttLink::Setup setup;
    mosquitto* client = nullptr;
    std::thread thread;
    std::promise<void> finished;
    std::mutex mutex;
    std::condition_variable wake;
    bool stop = false;
    std::atomic<bool> connected{false};
    int connack = -1;  // -1: none yet (set in the library's callback, on the thread)

    // Runs f on the window's thread with the link, unless it has stopped.
    // (An event posted to an object that is then deleted is dropped with it.)
    template <typename F>
    void Post(F f) {
        std::lock_guard lock(mutex);
        if (owner) QMetaObject::invokeMethod(owner, [owner = owner, f] { f(owner); }, Qt::QueuedConnection);
    }

    void Say(const QString& text) {
        Post([text](MqttLink* link) { emit link->StateChanged(text); });
    }

    // Waits the pause, or less when stopped; false when stopped.
    bool Pause(int ms, const QString& why) {
        Say(QString("%1 - reconnecting in %2 s").arg(why).arg((ms + 999) / 1000));
        std::unique_lock lock(mutex);
        return !wake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stop; });
    }

    bool Stopping() {
        std::lock_guard lock(mutex);
        return stop;
    }

    void Run() {
        RetryPause pause;
        bool first = true;
        const QString where = QString::fromStdString(ShownBroker(setup.broker));
        while (!Stopping()) {
            connack = -1;
            int rc = first ? mosquitto_connect_async(client, setup.broker.host.c_str(), setup.broker.port,
                                                     kKeepAliveSeconds)
                           : mosquitto_reconnect_async(client);
            first = false;
            if (rc != MOSQ_ERR_SUCCESS) {
                if (!Pause(pause.Next(), Unreachable(where, rc, errno))) break;
                continue;
            }
            // Until the broker answers the connection (or the line fails).
            const auto askedAt = std::chrono::steady_clock::now();
            while (rc == MOSQ_ERR_SUCCESS && connack < 0 && !Stopping() &&
                   std::chrono::steady_clock::now() - askedAt < std::chrono::milliseconds(kConnackWithinMs)) {
                rc = mosquitto_loop(client, 100, 1);
            }
            if (Stopping()) break;
            if (connack != 0) {
                const int error = errno;
                mosquitto_disconnect(client);
                // A refusal first: the library also ends its loop with an error then.
                const QString why = connack > 0               ? RefusalText(connack)
                                    : rc == MOSQ_ERR_SUCCESS  ? QString("MQTT: %1 did not answer").arg(where)
                                                              : Unreachable(where, rc, error);
                if (!Pause(pause.Next(), why)) break;
                continue;
            }
            pause.Reset();
            connected = true;
            Say("MQTT: connected to " + where);
            Post([](MqttLink* link) { emit link->SessionStarted(); });
            while (rc == MOSQ_ERR_SUCCESS && !Stopping()) rc = mosquitto_loop(client, kLoopTimeoutMs, 1);
            connected = false;
            if (Stopping()) break;
            if (!Pause(pause.Next(), QString("MQTT: connection to %1 lost").arg(where))) break;
        }
        if (connected) {
            // Leave cleanly: what was published goes out, then the goodbye
            // (the broker then sends no last will; "offline" went out before).
            const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1000);
            while (mosquitto_want_write(client) && std::chrono::steady_clock::now() < until &&
                   mosquitto_loop(client, 50, 1) == MOSQ_ERR_SUCCESS) {
            }
            mosquitto_disconnect(client);
            mosquitto_loop(client, 50, 1);
            connected = false;
        }
        mosquitto_destroy(client);
        client = nullptr;
        finished.set_value();
    }
};

MqttLink::MqttLink(QObject* parent) : QObject(parent) {}

MqttLink::~MqttLink() { Stop(); }

void MqttLink::Start(const Setup& setup) {
    Stop();
    InitLibraryOnce();
    auto worker = std::make_shared<Worker>();
    worker->owner = this;
    worker->setup = setup;
    worker->client = mosquitto_new(setup.clientId.c_str(), true, worker.get());
    if (!worker->client) {
        emit StateChanged("MQTT: the client could not be made");
        return;
    }
    mosquitto_int_option(worker->client, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    // Another thread runs the loop: publishing only queues and wakes it.
    mosquitto_threaded_set(worker->client, true);
    if (!setup.broker.user.empty()) {
        mosquitto_username_pw_set(worker->client, setup.broker.user.c_str(),
                                  setup.broker.password.empty() ? nullptr : setup.broker.password.c_str());
    }
    mosquitto_will_set(worker->client, setup.willTopic.c_str(), 7, "offline", 1, true);
    if (setup.broker.tls) {
        const int rc = mosquitto_tls_set(worker->client, setup.caFile.empty() ? nullptr : setup.caFile.c_str(),
                                         setup.caFile.empty() ? "/etc/ssl/certs" : nullptr, nullptr, nullptr, nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            emit StateChanged(QString("MQTT: TLS cannot be set up (%1)").arg(mosquitto_strerror(rc)));
            mosquitto_destroy(worker->client);
            return;
        }
    }
    mosquitto_connect_callback_set(worker->client, [](mosquitto* client, void* data, int rc) {
        auto* self = static_cast<Worker*>(data);
        self->connack = rc;
        if (rc == 0 && !self->setup.subscribeTo.empty()) {
            mosquitto_subscribe(client, nullptr, self->setup.subscribeTo.c_str(), 1);
        }
    });
    mosquitto_message_callback_set(worker->client, [](mosquitto*, void* data, const mosquitto_message* message) {
        auto* self = static_cast<Worker*>(data);
        const QString topic = QString::fromUtf8(message->topic);
        const QByteArray payload(static_cast<const char*>(message->payload), message->payloadlen);
        self->Post([topic, payload](MqttLink* link) { emit link->Received(topic, payload); });
    });
    worker_ = worker;
    worker->thread = std::thread([worker] { worker->Run(); });
}

void MqttLink::Stop() {
    if (!worker_) return;
    auto worker = std::move(worker_);
    {
        std::lock_guard lock(worker->mutex);
        worker->stop = true;
        worker->owner = nullptr;
    }
    worker->wake.notify_all();
    // A thread stuck in a slow name look-up is let go; it holds its own reference.
    if (worker->finished.get_future().wait_for(kStopWithin) == std::future_status::ready) {
        worker->thread.join();
    } else {
        worker->thread.detach();
    }
}

bool MqttLink::Connected() const { return worker_ && worker_->connected; }

bool MqttLink::Publish(const std::string& topic, const std::string& payload, bool retain) {
    if (!Connected()) return false;
    return mosquitto_publish(worker_->client, nullptr, topic.c_str(), static_cast<int>(payload.size()),
                             payload.data(), 1, retain) == MOSQ_ERR_SUCCESS;
}

}  // namespace quorvane
