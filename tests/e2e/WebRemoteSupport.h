#pragma once
// What the browser remote's end-to-end tests share: a page (a WebSocket
// client that keeps what it is sent), one HTTP exchange, and a window
// polling a quiet radio with its remote on a free port.
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpSocket>
#include <QWebSocket>
#include <nlohmann/json.hpp>

#include "E2eSupport.h"
#include "RadioAudio.h"
#include "web/qt/RemoteServer.h"
#include "window/Station.h"

namespace quorvane::e2e {

using Json = nlohmann::json;


inline const char* kHost = "127.0.0.1";

// A page: a WebSocket client that keeps every message it is sent, and when
// each sound frame came with its loudest sample.
struct Page {
    QWebSocket socket;
    std::vector<Json> messages;
    std::vector<std::pair<std::chrono::steady_clock::time_point, int>> sound;

    explicit Page(const QString& origin) : socket(origin) {
        QObject::connect(&socket, &QWebSocket::textMessageReceived, [this](const QString& text) {
            messages.push_back(Json::parse(text.toStdString(), nullptr, false));
        });
        QObject::connect(&socket, &QWebSocket::binaryMessageReceived, [this](const QByteArray& frame) {
            int loudest = 0;
            for (qsizetype i = 8; i + 1 < frame.size(); i += 2) {
                const auto sample = static_cast<std::int16_t>(static_cast<std::uint8_t>(frame[i]) |
                                                              static_cast<std::uint8_t>(frame[i + 1]) << 8);
                loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
            }
            sound.emplace_back(std::chrono::steady_clock::now(), loudest);
        });
    }
    // Opens the socket of a page link; false when it is not opened.
    bool Open(const QString& pageUrl) {
        QString url = pageUrl;
        socket.open(QUrl(url.replace("http://", "ws://").replace("/?token", "/ws?token")));
        WaitUntil([&] { return socket.state() == QAbstractSocket::ConnectedState ||
                               socket.state() == QAbstractSocket::UnconnectedState; }, 5000);
        return socket.state() == QAbstractSocket::ConnectedState;
    }
    void Press(const std::string& key) {
        socket.sendTextMessage(QString::fromStdString(Json{{"type", "key"}, {"key", key}}.dump()));
    }
    // Waits for a message of a type that passes check.
    bool Sees(const std::string& type, const std::function<bool(const Json&)>& check = {}, int timeoutMs = 5000) {
        return WaitUntil([&] {
            return std::any_of(messages.begin(), messages.end(), [&](const Json& m) {
                return m.is_object() && m.value("type", "") == type && (!check || check(m));
            });
        }, timeoutMs);
    }
};

// One whole HTTP exchange on a fresh connection: what came back when the
// answer's head is in or the server closed (empty when nothing).
// From another address of this computer's loopback when from is given.
inline std::string Exchange(quint16 port, const std::string& request, int timeoutMs = 5000,
                            const QString& from = {}) {
    QTcpSocket socket;
    if (!from.isEmpty()) socket.bind(QHostAddress(from));
    socket.connectToHost(kHost, port);
    if (!WaitUntil([&] { return socket.state() == QAbstractSocket::ConnectedState; }, timeoutMs)) return {};
    socket.write(request.data(), static_cast<qint64>(request.size()));
    std::string got;
    WaitUntil([&] {
        got += socket.readAll().toStdString();
        return got.find("\r\n\r\n") != std::string::npos || socket.state() == QAbstractSocket::UnconnectedState;
    }, timeoutMs);
    return got;
}

inline int StatusOf(const std::string& answer) { return answer.size() > 12 ? std::stoi(answer.substr(9, 3)) : 0; }

inline std::string Query(const QString& url) { return url.section('?', 1).toStdString(); }

// A window polling a quiet radio, with its remote on a free port.
struct RemoteWindow : Monitored {
    QString control;
    QString view;
    quint16 port = 0;
    std::string origin;

    RemoteWindow() {
        RemoteServer& remote = form->Remote();
        EXPECT_TRUE(remote.Start({kHost, 0})) << remote.Error().toStdString();
        control = remote.Url(RemoteRole::Control);
        view = remote.Url(RemoteRole::View);
        port = static_cast<quint16>(remote.Listening().port);
        origin = "http://" + std::string(kHost) + ":" + std::to_string(port);
    }
    std::string Head(const std::string& line, const std::string& headers = {}) const {
        return line + " HTTP/1.1\r\nHost: " + kHost + ":" + std::to_string(port) + "\r\n" + headers + "\r\n";
    }
};

// The times of the poll's accepted ticks, from now on.
struct TickClock {
    std::vector<qint64> ticks;
    QElapsedTimer clock;
    explicit TickClock(Station& station) {
        clock.start();
        QObject::connect(&station, &Station::Ticked, [this] { ticks.push_back(clock.elapsed()); });
    }
    // The ticks from `from` on, and the longest gap between two of them.
    std::pair<size_t, qint64> Since(size_t from) const {
        qint64 longest = 0;
        for (size_t i = from + 1; i < ticks.size(); ++i) longest = std::max(longest, ticks[i] - ticks[i - 1]);
        return {ticks.size() - from, longest};
    }
};

// A WebSocket upgrade as a browser at that host sends it.
inline std::string Upgrade(const std::string& query, const std::string& host) {
    return "GET /ws?" + query + " HTTP/1.1\r\nHost: " + host + "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n" +
           "Sec-WebSocket-Version: 13\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nOrigin: http://" + host +
           "\r\n\r\n";
}

inline std::string KeyBody() { return R"({"type":"key","key":"key_scan"})"; }

// The radio's loudspeaker as this process's sound input, before the window
// first uses the sound devices.
inline RadioAudio& Speaker() {
    static RadioAudio audio(QT_TESTCASE_SOURCEDIR "/../scripts/test-audio");
    if (audio.Error().empty()) qputenv("PULSE_SERVER", QByteArray::fromStdString(audio.Server()));
    return audio;
}

}  // namespace quorvane::e2e
