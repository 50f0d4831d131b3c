#pragma once
#include <QTcpSocket>
#include <QTimer>

#include "link/TelnetCodec.h"
#include "link/qt/LinkTransport.h"

namespace quorvane {

// A scanner shared on the network by another computer (ser2net): "raw" mode
// passes the bytes as they are, "telnet" mode (RFC 2217) sets the serial
// line over telnet and keeps the negotiation out of the replies. Opening
// never blocks the window: the name lookup and the connection go on in the
// background and end in Opened or Failed.
class NetworkLink : public LinkTransport {
    Q_OBJECT
public:
    explicit NetworkLink(QObject* parent = nullptr);

    QString Open(const PortEntry& entry, int baud) override;
    bool SilenceMeansLost() const override { return true; }
    void Close() override;
    bool IsOpen() const override;
    void Write(const std::string& bytes) override;
    int BytesWaiting() override;
    std::string ReadAvailable() override;
    std::size_t Unsent() const override;
    void WatchIncoming(bool on) override;
    void Flush(int waitMs) override;

private:
    // Lost (failure empty) or Failed, from the event loop, unless the
    // attempt it belongs to was closed meanwhile.
    void Report(const QString& failure);
    void OnConnected();
    void KeepAlive();
    void OnError(QAbstractSocket::SocketError error);
    void OnReadyRead();
    // Moves what the socket has received into received_, answering telnet
    // negotiation on the way.
    void TakeIn();

    QTcpSocket socket_;
    QTimer connectTimer_;  // a host that never answers counts as gone
    TelnetCodec codec_;
    bool telnet_ = false;
    int baud_ = 0;
    bool connecting_ = false;  // from Open until connected or failed
    bool connected_ = false;   // between Opened and Close or Lost
    unsigned attempt_ = 0;
    bool watching_ = false;
    std::string received_;  // telnet mode: decoded scanner bytes not yet read
};

}  // namespace quorvane
