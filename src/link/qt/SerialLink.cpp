#include "link/qt/SerialLink.h"

namespace quorvane {

QString SerialLink::Open(const PortEntry& entry, int baud) {
    return Open(QString::fromStdString(entry.device), baud);
}

void SerialLink::CheckStillThere(bool wasOpen) {
    if (!wasOpen || IsOpen()) return;
#ifndef Q_OS_WIN
    RearmWatch();
#endif
    QMetaObject::invokeMethod(this, &LinkTransport::Lost, Qt::QueuedConnection);
}

#ifdef Q_OS_WIN

SerialLink::SerialLink(QObject* parent) : LinkTransport(parent) {
    connect(&port_, &QSerialPort::readyRead, this, [this] {
        if (watching_) emit Incoming();
    });
    // A vanished device makes QSerialPort repeat its error in a tight loop
    // until the port is closed: close at the first one.
    connect(&port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
            error == QSerialPort::WriteError) {
            const bool wasOpen = port_.isOpen();
            port_.close();
            CheckStillThere(wasOpen);
        }
    });
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
    if (error == QSerialPort::DeviceNotFoundError) return "not found";
    if (error == QSerialPort::PermissionError) return "busy";  // Windows: in use by another program
    return words.isEmpty() ? QString("could not be opened") : words;
}

void SerialLink::Close() {
    if (port_.isOpen()) port_.close();
    port_.clearError();
}

bool SerialLink::IsOpen() const { return port_.isOpen(); }

void SerialLink::WatchIncoming(bool on) { watching_ = on; }

void SerialLink::Flush(int waitMs) {
    if (port_.isOpen()) port_.waitForBytesWritten(waitMs);
}

void SerialLink::Write(const std::string& bytes) {
    if (!port_.isOpen()) return;
    port_.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::size_t SerialLink::Unsent() const { return static_cast<std::size_t>(port_.bytesToWrite()); }

int SerialLink::BytesWaiting() {
    if (!port_.isOpen()) return 0;
    port_.waitForReadyRead(0);  // take in what arrived since the last event-loop turn
    return static_cast<int>(port_.bytesAvailable());
}

std::string SerialLink::ReadAvailable() {
    if (!port_.isOpen()) return {};
    const QByteArray bytes = port_.readAll();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

#else

SerialLink::SerialLink(QObject* parent) : LinkTransport(parent) {}

QString SerialLink::Open(const QString& devicePath, int baud) {
    const QString failure = QString::fromStdString(port_.Open(devicePath.toStdString(), baud));
    RearmWatch();
    return failure;
}

void SerialLink::Close() {
    port_.Close();
    RearmWatch();
}

void SerialLink::WatchIncoming(bool on) {
    watching_ = on;
    RearmWatch();
}

void SerialLink::RearmWatch() {
    if (notifier_) {
        // This may run inside the notifier's own signal: it goes once that returns.
        notifier_->setEnabled(false);
        notifier_->deleteLater();
        notifier_ = nullptr;
    }
    if (!watching_ || !port_.IsOpen()) return;
    notifier_ = new QSocketNotifier(port_.Descriptor(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        // The reader takes the bytes inside Incoming(); a reader that leaves
        // some makes the notifier fire again on the next turn of the loop.
        notifier_->setEnabled(false);
        emit Incoming();
        if (notifier_) notifier_->setEnabled(port_.IsOpen());
    });
}

bool SerialLink::IsOpen() const { return port_.IsOpen(); }

void SerialLink::Flush(int waitMs) { port_.Drain(waitMs); }

void SerialLink::Write(const std::string& bytes) {
    if (!port_.IsOpen()) return;
    port_.Write(bytes);
    CheckStillThere(true);
}

std::size_t SerialLink::Unsent() const { return port_.Unsent(); }

int SerialLink::BytesWaiting() {
    if (!port_.IsOpen()) return 0;
    int count = 0;
    port_.Waiting(count);
    CheckStillThere(true);
    return count;
}

std::string SerialLink::ReadAvailable() {
    if (!port_.IsOpen()) return {};
    std::string bytes;
    port_.ReadAll(bytes);
    CheckStillThere(true);
    return bytes;
}

#endif

}  // namespace quorvane
