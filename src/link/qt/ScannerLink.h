#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include "link/PortNaming.h"
#include "link/ScannerPort.h"
#include "link/WriteBacklog.h"
#include "link/qt/NetworkLink.h"
#include "link/qt/SerialLink.h"

namespace quorvane {

// The one connection to the scanner, whatever reaches it: a serial device
// or a scanner shared on the network. Nothing above it knows which. It also
// keeps the line from filling up with stale commands when the other end
// stops reading (see WriteBacklog): commands beyond the limit are dropped
// and Blocked() says so until the scanner answers again.
class ScannerLink : public QObject, public ScannerPort {
    Q_OBJECT
public:
    explicit ScannerLink(QObject* parent = nullptr);

    // Opens what the port entry names at the given speed (closing first).
    // Empty when open, or when a network connection is on its way (Opened
    // or Failed follows); otherwise a short reason for the user.
    QString Open(const PortEntry& entry, int baud);
    void Close();

    bool IsOpen() const override;
    void SendCommand(const std::string& text) override;
    int BytesWaiting() override;
    std::string ReadAvailable() override;
    // Bytes the link holds that have not gone out yet.
    std::size_t Unsent() const;
    // True while commands are being dropped because the scanner does not
    // take them.
    bool Blocked() const { return backlog_.Blocked(); }

    // While on, Incoming() is emitted whenever bytes arrive, so a reader that
    // waits for a whole reply can act at once. Off by default: idle polling
    // reads at its own pace and wakes the window for nothing.
    void WatchIncoming(bool on);

signals:
    // The line went away under an open link (cable pulled, the other end
    // closed, the network connection dropped or never came up). The link is
    // closed already; delivered from the event loop, never inside a call.
    void Lost();
    // Bytes arrived while WatchIncoming is on.
    void Incoming();
    // A network connection on its way is open.
    void Opened();
    // A network connection on its way failed for this reason ("host not
    // found", "connection refused").
    void Failed(const QString& reason);
    // Blocked() changed; delivered from the event loop.
    void BlockedChanged();

private:
    void NoteAnswer(bool answered);
    void NoteBlocked(bool wasBlocked);

    SerialLink serial_;
    NetworkLink network_;
    LinkTransport* current_ = &serial_;
    WriteBacklog backlog_;
    QElapsedTimer clock_;  // paces the probes of a blocked line
};

}  // namespace quorvane
