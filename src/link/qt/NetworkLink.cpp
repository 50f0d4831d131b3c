#include "link/qt/NetworkLink.h"

#ifdef Q_OS_LINUX
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

namespace quorvane {
namespace {
// Longer than any working connection takes to open, short enough that the
// retry every 2 s goes on when the host is switched off.
constexpr int kConnectTimeoutMs = 5000;
}  // namespace

NetworkLink::NetworkLink(QObject* parent) : LinkTransport(parent) {
    connectTimer_.setSingleShot(true);
    connectTimer_.setInterval(kConnectTimeoutMs);
    connect(&connectTimer_, &QTimer::timeout, this, [this] {
        connecting_ = false;
        socket_.abort();
        Report({});
    });
    connect(&socket_, &QTcpSocket::connected, this, &NetworkLink::OnConnected);
    connect(&socket_, &QTcpSocket::errorOccurred, this, &NetworkLink::OnError);
    connect(&socket_, &QTcpSocket::disconnected, this, [this] {
        if (!connected_) return;
        connected_ = false;
        Report({});
    });
    connect(&socket_, &QTcpSocket::readyRead, this, &NetworkLink::OnReadyRead);
}

QString NetworkLink::Open(const PortEntry& entry, int baud) {
    Close();
    if (!entry.OnNetwork()) return "is not a network address";
    telnet_ = entry.kind == PortEntry::Kind::Telnet;
    baud_ = baud;
    codec_ = TelnetCodec();
    connecting_ = true;
    connectTimer_.start();
    socket_.connectToHost(QString::fromStdString(entry.host), static_cast<quint16>(entry.port));
    return {};
}

void NetworkLink::Close() {
    ++attempt_;  // whatever this attempt still had to report no longer matters
    connecting_ = false;
    connected_ = false;
    connectTimer_.stop();
    socket_.abort();
    received_.clear();
}

void NetworkLink::Report(const QString& failure) {
    QMetaObject::invokeMethod(this, [this, failure, attempt = attempt_] {
        if (attempt != attempt_) return;
        if (failure.isEmpty()) emit Lost();
        else emit Failed(failure);
    }, Qt::QueuedConnection);
}

void NetworkLink::OnConnected() {
    connecting_ = false;
    connectTimer_.stop();
    connected_ = true;
    // Commands are short lines: send each at once rather than gather them.
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    KeepAlive();
    if (telnet_) socket_.write(QByteArray::fromStdString(TelnetCodec::Greeting(baud_)));
    emit Opened();
}

void NetworkLink::KeepAlive() {
    // A host that vanishes without closing the connection (switched off,
    // unplugged) is noticed within seconds, not after the system's default
    // of more than two hours.
    socket_.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
#ifdef Q_OS_LINUX
    const int fd = static_cast<int>(socket_.socketDescriptor());
    const int idleSeconds = 5, intervalSeconds = 2, probes = 3;
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idleSeconds, sizeof idleSeconds);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &intervalSeconds, sizeof intervalSeconds);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
#endif
}

void NetworkLink::OnError(QAbstractSocket::SocketError error) {
    if (!connecting_) return;  // a drop after connecting is reported by disconnected
    connecting_ = false;
    connectTimer_.stop();
    if (error == QAbstractSocket::HostNotFoundError) Report("host not found");
    else if (error == QAbstractSocket::ConnectionRefusedError) Report("connection refused");
    else Report({});  // unreachable for now: worth trying again
}

void NetworkLink::OnReadyRead() {
    if (telnet_) TakeIn();  // negotiation is answered as it comes
    if (watching_) emit Incoming();
}

void NetworkLink::TakeIn() {
    if (!telnet_) return;
    const QByteArray raw = socket_.readAll();
    if (raw.isEmpty()) return;
    std::string answer;
    received_ += codec_.Decode(std::string_view(raw.constData(), static_cast<size_t>(raw.size())), answer);
    if (!answer.empty()) socket_.write(QByteArray::fromStdString(answer));
}

bool NetworkLink::IsOpen() const { return connected_; }

void NetworkLink::Write(const std::string& bytes) {
    if (!connected_) return;
    socket_.write(QByteArray::fromStdString(telnet_ ? TelnetCodec::Encode(bytes) : bytes));
}

int NetworkLink::BytesWaiting() {
    if (!connected_) return 0;
    TakeIn();
    return static_cast<int>(telnet_ ? received_.size() : static_cast<size_t>(socket_.bytesAvailable()));
}

std::string NetworkLink::ReadAvailable() {
    if (!connected_) return {};
    if (telnet_) {
        TakeIn();
        return std::exchange(received_, {});
    }
    const QByteArray bytes = socket_.readAll();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

std::size_t NetworkLink::Unsent() const { return static_cast<std::size_t>(socket_.bytesToWrite()); }

void NetworkLink::WatchIncoming(bool on) { watching_ = on; }

void NetworkLink::Flush(int waitMs) {
    if (connected_ && socket_.bytesToWrite() > 0) socket_.waitForBytesWritten(waitMs);
}

}  // namespace quorvane
