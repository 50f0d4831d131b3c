#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpSocket>
#include <array>
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "web/AccessRules.h"
#include "web/ClientBacklog.h"
#include "web/RemoteAudio.h"
#include "web/RemoteFeed.h"
#include "web/RequestHead.h"
#include "web/WebRemoteSettings.h"

class QHttpServerRequest;
class QWebSocket;
class QWebSocketServer;

namespace quorvane {

class RemoteDoor;
class RemoteHttp;

// What the remote asks of the program it serves.
struct RemoteHost {
    // Presses a key as a click in the window does (the key table's
    // objectName); false when it was not played (the port is closed).
    std::function<bool(const std::string& objectName)> press;
    // Some page wants the sound (true), or none does any more (false). The
    // sound then comes in through PushSound. False when no input opens.
    std::function<bool(bool on)> listen;
};

// The browser remote: the page, its WebSocket and key requests, served in
// the program's event loop (one thread, no thread per client).
//
// Connections come in at a RemoteDoor, which reads each first request head:
// an upgrade at /ws is checked (Decide) before Qt's WebSocket server takes
// it, so no socket opens for a request without the token or from another
// site; the rest goes to Qt's HTTP server (RemoteHttp), which checks every
// request again. Each page has a ClientBacklog: one that cannot keep up
// loses sound first and is then dropped, never buffered without bound.
//
// The program hands every change to the Show... functions and the sound to
// PushSound whether or not the remote runs, so a page that connects gets
// the whole picture at once (RemoteFeed).
class RemoteServer : public QObject {
    Q_OBJECT
public:
    // Pages open at once; more are turned away (503).
    static constexpr int kMostPages = 128;

    RemoteServer(QString appDirectory, RemoteHost host, QObject* parent = nullptr);
    ~RemoteServer() override;
    // The host, when it needs the server to be made first (the sound goes to PushSound).
    void SetHost(RemoteHost host) { host_ = std::move(host); }

    // web_remote.txt as it is now; a missing file gives the defaults, a
    // file too large to be settings gives them with a notice.
    WebRemoteSettings ReadSettings() const;
    // Writes web_remote.txt whole; false with *error when it cannot.
    bool SaveSettings(const WebRemoteSettings& settings, QString* error) const;

    // Serves on listen with web_remote.txt's fixed tokens and TLS (stopping
    // first when running). On success the link goes to standard output as
    // "Web remote: <link>" (the view-only one to standard error). False and
    // Error() says why when it cannot (the address is taken, only one TLS
    // file is named, a TLS file cannot be read).
    bool Start(const ListenAddress& listen);
    // The remote of this run: at the command line's address when given,
    // else at web_remote.txt's when its start=1; nothing otherwise. Notices
    // about the file and a failure go to standard error. False only when a
    // start was asked for and failed.
    bool StartForRun(const std::optional<ListenAddress>& commandLine);
    void Stop();
    bool Running() const;
    const ListenAddress& Listening() const { return listen_; }
    // Why the last start failed; empty once one worked.
    const QString& Error() const { return error_; }
    // The page's link for a role (a listen address for every network is
    // given as an address of this computer); empty when not running.
    QString Url(RemoteRole role) const;
    int Pages() const { return static_cast<int>(clients_.size()); }

    // What the pages show, whenever it changes.
    void ShowDisplay(const DisplayFrame& frame);
    void ShowStatus(const QString& text);
    void ShowLatches(bool functionHeld, bool reverseHeld);
    void ShowLog(std::string_view logText);
    // Interleaved 16-bit samples from the sound input, as they come in.
    void PushSound(const std::int16_t* samples, std::int64_t frames, int sampleRate, int channels);

signals:
    void RunningChanged(bool running);
    void PagesChanged(int pages);

private:
    friend class RemoteHttp;
    struct Client {
        QWebSocket* socket = nullptr;
        RemoteRole role = RemoteRole::View;
        ClientBacklog backlog;
        bool listening = false;
    };

    void OnHead(QTcpSocket* socket, const RequestHead& head);
    void AcceptPages();
    void OnPageMessage(Client& client, const QString& text);
    bool Press(const std::string& key);
    void SetListening(Client& client, bool on);
    void Send(Client& client, const std::string& text);
    void SendToAll(const std::string& text);
    void SendToAll(const std::optional<std::string>& text);
    void Drop(Client& client);
    void Forget(QWebSocket* socket);
    void UpdateListening();
    bool SetUpTls(const WebRemoteSettings& settings);

    QString appDirectory_;
    RemoteHost host_;
    std::array<std::uint8_t, 2 * kTokenBytes> random_{};
    AccessTokens tokens_;
    ListenAddress listen_;
    QString error_;
    RemoteFeed feed_;
    RemoteAudioEncoder audio_;
    int audioRate_ = 0;
    int audioChannels_ = 0;
    bool soundOn_ = false;
    RemoteHttp* http_ = nullptr;
    RemoteDoor* door_ = nullptr;  // owned by http_
    QWebSocketServer* sockets_ = nullptr;
    std::list<Client> clients_;
    // Connections given to the WebSocket server, by their peer, until the
    // WebSocket made of each is taken.
    std::map<std::pair<QString, quint16>, QPointer<QTcpSocket>> handedOver_;
};

}  // namespace quorvane
