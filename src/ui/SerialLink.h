#pragma once
#include <QObject>
#include <QString>

#include "link/ScannerPort.h"

#ifdef Q_OS_WIN
#include <QSerialPort>
#else
#include <QSocketNotifier>

#include "ui/PosixSerialPort.h"
#endif

namespace quorvane {

// The scanner's serial port, opened by path at 8 data bits, no parity, 1 stop
// bit, no flow control. Sends while closed are dropped. On Windows it is a
// QSerialPort; elsewhere the device is used through termios directly, so no
// notifier wakes the window for every byte that trickles in between polls.
class SerialLink : public QObject, public ScannerPort {
    Q_OBJECT
public:
    explicit SerialLink(QObject* parent = nullptr);

    // Opens the device at the given speed (closing first when open). On
    // failure returns a short reason for the user ("not found", "busy",
    // "permission denied" or the system's own words); empty on success.
    QString Open(const QString& devicePath, int baud);
    void Close();

    bool IsOpen() const override;
    void SendCommand(const std::string& text) override;
    int BytesWaiting() override;
    std::string ReadAvailable() override;

    // While on, Incoming() is emitted whenever bytes arrive, so a reader that
    // waits for a whole reply can act at once. Off by default: idle polling
    // reads at its own pace and wakes the window for nothing.
    void WatchIncoming(bool on);

signals:
    // The device went away under an open port (cable pulled, the other end
    // of a pseudo-terminal closed). The port is already closed when this
    // arrives; it is delivered from the event loop, never inside a call.
    void Lost();
    // Bytes arrived while WatchIncoming is on.
    void Incoming();

private:
    void CheckStillThere(bool wasOpen);
#ifdef Q_OS_WIN
    QSerialPort port_;
#else
    void RearmWatch();
    PosixSerialPort port_;
    QSocketNotifier* notifier_ = nullptr;  // only while watching and open
#endif
    bool watching_ = false;
};

}  // namespace quorvane
