#pragma once
#include <QSslConfiguration>
#include <QTcpServer>
#include <functional>
#include <map>
#include <optional>
#include <string_view>

#include "web/RequestHead.h"

class QTcpSocket;

namespace quorvane {

// Where every connection to the browser remote comes in. It reads the head
// of the connection's first request without taking it off the socket
// (RequestHead.h) and hands the connection on as it stands: to the WebSocket
// server for an upgrade that passed its check, else to the HTTP server bound
// to this door (QAbstractHttpServer::bind), which takes the connections the
// door adds as pending.
//
// Nothing here waits: each connection is a socket in the event loop, and
// each has a deadline. A head must be complete within kHeadWaitMs and
// kMostRequestHeadBytes (a silent or dribbling client, a TLS handshake that
// never ends); a plain HTTP connection lives at most kHttpLifetimeMs, which
// the page needs once and a script's key request needs a moment. At most
// kMostConnections are open at once, and at most kMostPerAddress from one
// address, so whoever reaches the port cannot take every connection: more
// are turned away with 503 (over TLS, cut at once: an answer would need the
// handshake first). A connection counts from when it comes until it is
// closed, whoever takes it on, and every socket is deleted once closed.
// The socket's read buffer is capped, so no client makes the program hold
// more than a few kilobytes it has not asked for.
class RemoteDoor : public QTcpServer {
public:
    static constexpr int kHeadWaitMs = 10'000;
    static constexpr int kHttpLifetimeMs = 30'000;
    static constexpr int kMostConnections = 256;
    static constexpr int kMostPerAddress = 64;
    static constexpr qint64 kReadBufferBytes = 16 * 1024;

    explicit RemoteDoor(QObject* parent = nullptr);

    // Every new connection is TLS with this configuration (nothing: plain).
    void SetTls(std::optional<QSslConfiguration> tls) { tls_ = std::move(tls); }
    bool Tls() const { return tls_.has_value(); }
    // Called with each connection whose first head is complete (still unread
    // on the socket); it hands the connection on or answers it.
    void SetHeadHandler(std::function<void(QTcpSocket*, const RequestHead&)> handler) {
        onHead_ = std::move(handler);
    }

    // Gives the connection to the HTTP server bound to this door.
    void ToHttpServer(QTcpSocket* socket);
    // Lets the connection go (to the WebSocket server): no deadline of the
    // door applies any more and it no longer belongs to the door. It still
    // counts until it is closed, and it deletes itself once closed unless
    // whoever takes it on calls Adopt.
    static void LetGo(QTcpSocket* socket);
    // The connection belongs to owner from now on and is deleted with it.
    static void Adopt(QTcpSocket* socket, QObject* owner);
    // Sends a whole answer (PlainAnswer) and closes the connection once it
    // is written (at the latest after a few seconds).
    static void Answer(QTcpSocket* socket, int status, std::string_view text);

    int Connections() const { return connections_; }
    int ConnectionsFrom(const QHostAddress& address) const;

protected:
    void incomingConnection(qintptr handle) override;

private:
    void Count(QTcpSocket* socket);
    void Watch(QTcpSocket* socket);
    void ReadHead(QTcpSocket* socket);

    std::optional<QSslConfiguration> tls_;
    std::function<void(QTcpSocket*, const RequestHead&)> onHead_;
    int connections_ = 0;
    std::map<QString, int> perAddress_;  // open connections by peer address
};

}  // namespace quorvane
