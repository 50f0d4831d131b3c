#pragma once
#include <QString>

#include "link/qt/LinkTransport.h"

#ifdef Q_OS_WIN
#include <QSerialPort>
#else
#include <QSocketNotifier>

#include "link/qt/PosixSerialPort.h"
#endif

namespace quorvane {

// The scanner's serial port, opened by path at 8 data bits, no parity, 1 stop
// bit, no flow control. Writes while closed are dropped. On Windows it is a
// QSerialPort; elsewhere the device is used through termios directly, so no
// notifier wakes the window for every byte that trickles in between polls.
class SerialLink : public LinkTransport {
    Q_OBJECT
public:
    explicit SerialLink(QObject* parent = nullptr);

    // Opens the device at the given speed (closing first when open). On
    // failure returns a short reason for the user ("not found", "busy",
    // "permission denied" or the system's own words); empty on success.
    QString Open(const QString& devicePath, int baud);
    QString Open(const PortEntry& entry, int baud) override;
    void Close() override;

    bool IsOpen() const override;
    void Write(const std::string& bytes) override;
    int BytesWaiting() override;
    std::string ReadAvailable() override;
    std::size_t Unsent() const override;
    // Off by default: idle polling reads at its own pace and wakes the
    // window for nothing.
    void WatchIncoming(bool on) override;
    void Flush(int waitMs) override;

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
