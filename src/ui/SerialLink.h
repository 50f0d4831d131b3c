#pragma once
#include <QObject>
#include <QSerialPort>
#include <QString>

#include "link/ScannerPort.h"

namespace quorvane {

// The scanner's serial port: QSerialPort opened by path, 8 data bits, no
// parity, 1 stop bit, no flow control. Sends while closed are dropped.
class SerialLink : public QObject, public ScannerPort {
    Q_OBJECT
public:
    explicit SerialLink(QObject* parent = nullptr);

    // Opens the device at the given speed (closing first when open). On
    // failure returns a short reason for the user ("not found", "busy",
    // "permission denied" or the system's own words); empty on success.
    QString Open(const QString& devicePath, int baud);
    void Close();
    QString DevicePath() const { return port_.portName(); }
    int Baud() const { return port_.baudRate(); }

    bool IsOpen() const override { return port_.isOpen(); }
    void SendCommand(const std::string& text) override;
    int BytesWaiting() override;
    std::string ReadAvailable() override;

signals:
    // The device went away under an open port (cable pulled, the other end
    // of a pseudo-terminal closed). The port is already closed when this fires.
    void Lost();

private:
    void OnError(QSerialPort::SerialPortError error);
    QSerialPort port_;
};

}  // namespace quorvane
