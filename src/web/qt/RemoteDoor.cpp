#include "web/qt/RemoteDoor.h"

#include <QSslSocket>
#include <QTimer>
#include <memory>
#include <utility>

namespace quorvane {
namespace {

// The deadline of a connection: its head (then, over HTTP, its lifetime)
// must be done before it runs out, else the connection is cut.
const char* kDeadlineName = "remote_deadline";
// A client that does not take a refusal is cut after this long.
constexpr int kAnswerLingerMs = 3000;

QTimer* Deadline(QTcpSocket* socket) { return socket->findChild<QTimer*>(kDeadlineName, Qt::FindDirectChildrenOnly); }

// The same client over IPv4 and IPv4-mapped IPv6 counts as one address.
QString AddressKey(const QHostAddress& address) {
    bool mapped = false;
    const quint32 v4 = address.toIPv4Address(&mapped);
    return mapped ? QHostAddress(v4).toString() : address.toString();
}

}  // namespace

RemoteDoor::RemoteDoor(QObject* parent) : QTcpServer(parent) {}

void RemoteDoor::incomingConnection(qintptr handle) {
    QTcpSocket* socket = tls_ ? new QSslSocket(this) : new QTcpSocket(this);
    if (!socket->setSocketDescriptor(handle)) {
        delete socket;
        return;
    }
    connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
    socket->setReadBufferSize(kReadBufferBytes);
    if (connections_ >= kMostConnections || ConnectionsFrom(socket->peerAddress()) >= kMostPerAddress) {
        if (tls_) {
            socket->abort();
            socket->deleteLater();
            return;
        }
        Watch(socket);
        Answer(socket, 503, RefusalText("Too many connections"));
        return;
    }
    Count(socket);
    Watch(socket);
    if (auto* secure = qobject_cast<QSslSocket*>(socket)) {
        secure->setSslConfiguration(*tls_);
        // A client that cannot agree on TLS (a plain http:// request on the
        // https port) is cut at once.
        connect(secure, &QSslSocket::sslErrors, secure, &QAbstractSocket::abort);
        connect(secure, &QAbstractSocket::errorOccurred, secure, [secure] {
            if (!secure->isEncrypted()) secure->abort();
        });
        secure->startServerEncryption();
    }
}

int RemoteDoor::ConnectionsFrom(const QHostAddress& address) const {
    const auto found = perAddress_.find(AddressKey(address));
    return found == perAddress_.end() ? 0 : found->second;
}

void RemoteDoor::Count(QTcpSocket* socket) {
    const QString address = AddressKey(socket->peerAddress());
    ++connections_;
    ++perAddress_[address];
    // Counted down once: when closed, or when deleted still open.
    auto counted = std::make_shared<bool>(true);
    const auto release = [this, counted, address] {
        if (!std::exchange(*counted, false)) return;
        --connections_;
        if (--perAddress_[address] <= 0) perAddress_.erase(address);
    };
    connect(socket, &QAbstractSocket::disconnected, this, release);
    connect(socket, &QObject::destroyed, this, release);
}

void RemoteDoor::Watch(QTcpSocket* socket) {
    auto* deadline = new QTimer(socket);
    deadline->setObjectName(kDeadlineName);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, socket, &QAbstractSocket::abort);
    deadline->start(kHeadWaitMs);
    connect(socket, &QIODevice::readyRead, this, [this, socket] { ReadHead(socket); });
}

void RemoteDoor::ReadHead(QTcpSocket* socket) {
    // Only looked at: whoever takes the connection reads the head itself.
    const QByteArray bytes = socket->peek(static_cast<qint64>(kMostRequestHeadBytes));
    const HeadReading reading = ReadRequestHead(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    switch (reading.state) {
    case HeadReading::State::Incomplete:
        return;
    case HeadReading::State::TooLarge:
        Answer(socket, 431, RefusalText("Request head too large"));
        return;
    case HeadReading::State::Malformed:
        Answer(socket, 400, RefusalText("Malformed request"));
        return;
    case HeadReading::State::Complete:
        disconnect(socket, &QIODevice::readyRead, this, nullptr);
        if (onHead_) {
            onHead_(socket, reading.head);
        } else {
            Answer(socket, 503, RefusalText("Not serving"));
        }
        return;
    }
}

void RemoteDoor::ToHttpServer(QTcpSocket* socket) {
    if (QTimer* deadline = Deadline(socket)) deadline->start(kHttpLifetimeMs);
    // The HTTP server takes pending connections when told of a new one, and
    // reads a socket when it says it has bytes: these are already waiting.
    addPendingConnection(socket);
    emit newConnection();
    if (socket->bytesAvailable() > 0) emit socket->readyRead();
}

void RemoteDoor::LetGo(QTcpSocket* socket) {
    delete Deadline(socket);
    socket->setParent(nullptr);
}

void RemoteDoor::Adopt(QTcpSocket* socket, QObject* owner) {
    disconnect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
    socket->setParent(owner);
}

void RemoteDoor::Answer(QTcpSocket* socket, int status, std::string_view text) {
    disconnect(socket, &QIODevice::readyRead, nullptr, nullptr);
    const std::string answer = PlainAnswer(status, text);
    socket->write(answer.data(), static_cast<qint64>(answer.size()));
    socket->disconnectFromHost();
    if (QTimer* deadline = Deadline(socket)) deadline->start(kAnswerLingerMs);
}

}  // namespace quorvane
