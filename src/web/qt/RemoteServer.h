#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "web/AccessRules.h"
#include "web/ClientBacklog.h"
#include "web/KeyPacer.h"
#include "web/NoticeLimiter.h"
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
    // Whether the window's key queue is still playing (a key's waits, a
    // macro); a remote key waits until it is not.
    std::function<bool()> keysBusy;
};

// The browser remote: the page, its WebSocket and key requests, served in
// the program's event loop (one thread, no thread per client).
//
// Connections come in at a RemoteDoor, which reads each first request head:
// an upgrade at /ws is checked (Decide) before Qt's WebSocket server takes
// it, so no socket opens for a request without the token or from another
// site; the rest goes to Qt's HTTP server (RemoteHttp), which checks every
// request again. Each page has a ClientBacklog: one that cannot keep up
// loses sound first and is then dropped, never buffered without bound. The
// keys of pages and scripts go through a KeyPacer: queued a few per client,
// played one at a time at a person's pace, dropped when the client goes.
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
    // first when running). On success the view-only link goes to standard
    // output as "Web remote, view only: <link>"; the control link is written
    // to web_remote_link.txt (readable by the user only) and printed as
    // "Web remote: <link>" only when standard output is a terminal, so it
    // stays out of a service's journal. Without TLS on an address other than
    // the loopback, standard error says the token travels in clear text.
    // False and Error() says why when it cannot (the address is taken, only
    // one TLS file is named, a TLS file cannot be read).
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
    // The pages the sound is being sent to now.
    int Listeners() const;
    // Connections open at the door now (pages, page loads, key requests).
    int Connections() const;
    // Keys of pages and scripts waiting to be played.
    int QueuedKeys() const { return static_cast<int>(pacer_.Queued()); }
    // When the remote runs in clear text where others may listen: a warning
    // for the Settings box; empty otherwise.
    QString ClearTextWarning() const;

    // Marks the log rows that are alerts (as the window's log marks them);
    // RemarkLog asks it again about every row (the alert list changed).
    void SetAlertMarker(LogGridRows::Marker marker) { feed_.SetAlertMarker(std::move(marker)); }
    void RemarkLog();

    // What the pages show, whenever it changes.
    void ShowDisplay(const DisplayFrame& frame);
    void ShowStatus(const QString& text);
    void ShowLatches(bool functionHeld, bool reverseHeld);
    // The whole hit log (its rows, newest first), then each line put on top
    // of it, and the log cleared.
    void ShowLog(const std::deque<LogRow>& rows);
    void AddLogRow(const LogRow& row);
    void ClearLog();
    // The poll took a round of replies. Between two remote keys the poll has
    // kPollRoundsBetweenKeys rounds while it runs (else a key waits a
    // second), so no stream of keys keeps the poll from its replies.
    void PollRoundDone();
    // Interleaved 16-bit samples from the sound input, as they come in.
    void PushSound(const std::int16_t* samples, std::int64_t frames, int sampleRate, int channels);

signals:
    void RunningChanged(bool running);
    void PagesChanged(int pages);
    // The sound input is being sent to this many pages (0: none).
    void ListenersChanged(int pages);

private:
    friend class RemoteHttp;
    struct Client {
        QWebSocket* socket = nullptr;
        KeyPacer::ClientId id = 0;
        RemoteRole role = RemoteRole::View;
        ClientBacklog backlog;
        bool listening = false;
        bool toldFull = false;  // told its key queue is full, until a key of it is played
    };
    enum class KeyOutcome { Pressed, Queued, Refused, Full };

    void OnHead(QTcpSocket* socket, const RequestHead& head);
    void AcceptPages();
    void OnPageMessage(Client& client, const QString& text);
    AccessDecision DecideFor(const RequestFacts& facts) const { return Decide(facts, tokens_, ownHosts_); }
    // A key of a page or script: queued, and played at once when its turn is now.
    KeyOutcome QueueKey(KeyPacer::ClientId client, const std::string& key);
    KeyOutcome KeyFromScript(const QHostAddress& peer, const std::string& key);
    // Plays the key whose turn it is, if any; the press made (key, played).
    std::optional<std::pair<KeyPacer::Key, bool>> PlayKeys();
    Client* FindClient(KeyPacer::ClientId id);
    void TellListenFailed();
    void WriteLinks();
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
    HostNames ownHosts_;
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
    KeyPacer pacer_;
    KeyPacer::ClientId lastClientId_ = 0;
    std::map<QString, KeyPacer::ClientId> scriptClients_;  // key requests by address
    QTimer* keyTimer_ = nullptr;
    QElapsedTimer clock_;
    int pollRoundsSinceKey_ = kPollRoundsBetweenKeys;
    qint64 lastKeyMs_ = 0;
    NoticeLimiter listenNotices_{60'000};  // the sound goes out
    NoticeLimiter failNotices_{60'000};    // no sound input
    int listeners_ = 0;
    // Connections given to the WebSocket server, by their peer, until the
    // WebSocket made of each is taken.
    std::map<std::pair<QString, quint16>, QPointer<QTcpSocket>> handedOver_;
};

}  // namespace quorvane
