#pragma once
#include <QObject>
#include <QString>
#include <cstddef>
#include <string>

#include "link/PortNaming.h"

namespace quorvane {

// One way of reaching the scanner: a serial device or a network connection.
// The scanner link (ScannerLink) holds one and hides which it is.
class LinkTransport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~LinkTransport() override;

    // Opens the entry at the given speed (closing first when open). Empty
    // when open, or when the opening goes on in the background (Opened or
    // Failed follows); otherwise a short reason for the user.
    virtual QString Open(const PortEntry& entry, int baud) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Queues bytes for sending and returns at once; dropped while closed.
    virtual void Write(const std::string& bytes) = 0;
    virtual int BytesWaiting() = 0;
    virtual std::string ReadAvailable() = 0;
    // Bytes handed to Write that the transport still holds.
    virtual std::size_t Unsent() const = 0;
    // While on, Incoming() is emitted whenever bytes arrive.
    virtual void WatchIncoming(bool on) = 0;
    // Waits up to waitMs for what is unsent to go out (before the program ends).
    virtual void Flush(int waitMs) = 0;
    // Whether a long silence after a command means the line is gone: a
    // network host may vanish without a word; a serial device says so.
    virtual bool SilenceMeansLost() const { return false; }

signals:
    // The line went away under an open transport; it is closed already.
    // Delivered from the event loop, never inside a call.
    void Lost();
    // Bytes arrived while WatchIncoming is on.
    void Incoming();
    // An opening that went on in the background is done.
    void Opened();
    // An opening in the background failed for this reason ("host not found").
    void Failed(const QString& reason);
};

}  // namespace quorvane
