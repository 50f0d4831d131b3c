#include "ui/SerialLink.h"

#include <QFileInfo>

namespace quorvane {

SerialLink::SerialLink(QObject* parent) : QObject(parent) {
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialLink::OnError);
}

QString SerialLink::Open(const QString& devicePath, int baud) {
    Close();
    port_.setPortName(devicePath);
    port_.setBaudRate(baud);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (port_.open(QIODevice::ReadWrite)) return {};
    const QSerialPort::SerialPortError error = port_.error();
    const QString words = port_.errorString();
    port_.clearError();
    if (error == QSerialPort::DeviceNotFoundError || !QFileInfo::exists(devicePath)) return "not found";
    if (words.contains("busy", Qt::CaseInsensitive) || words.contains("lock", Qt::CaseInsensitive))
        return "busy";
    if (error == QSerialPort::PermissionError) return "permission denied";
    return words.isEmpty() ? QString("could not be opened") : words;
}

void SerialLink::Close() {
    if (port_.isOpen()) port_.close();
    port_.clearError();
}

void SerialLink::SendCommand(const std::string& text) {
    if (!port_.isOpen()) return;
    std::string line = text;
    line += '\r';
    port_.write(line.data(), static_cast<qint64>(line.size()));
}

int SerialLink::BytesWaiting() {
    if (!port_.isOpen()) return 0;
    // Take in what the device has delivered since the last event-loop turn.
    port_.waitForReadyRead(0);
    return static_cast<int>(port_.bytesAvailable());
}

std::string SerialLink::ReadAvailable() {
    if (!port_.isOpen()) return {};
    const QByteArray bytes = port_.readAll();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

void SerialLink::OnError(QSerialPort::SerialPortError error) {
    // A vanished device makes QSerialPort repeat the same error in a tight
    // loop until the port is closed: close at the first one.
    if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
        error == QSerialPort::WriteError) {
        if (port_.isOpen()) {
            port_.close();
            emit Lost();
        }
    }
}

}  // namespace quorvane
