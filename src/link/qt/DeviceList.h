#pragma once
#include <QComboBox>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <vector>

#include "link/SerialDevices.h"

namespace quorvane {

// The "Device" list beside the port list: the serial devices present,
// refreshed every 2 s while it can be seen, so a cable plugged in or out
// shows by itself. Choosing
// one makes the current port number open it: the port's entry comN in the
// app folder becomes a link to the device's stable by-id name (or its path
// when it has none). A port entry that is a file (a network address, or
// anything the user made) is never replaced; BindRefused says so instead.
// The list shows the device the current port number opens, when present.
// A device once in the list (a pseudo-terminal a port was linked to) stays
// while it is there, so choosing another device never makes it vanish. The
// closed list shows the chosen device's short name whole ("ttyUSB0",
// "pts/2"), the open list each device's full description.
class DeviceList : public QComboBox {
    Q_OBJECT
public:
    // Scans the system; alsoDevices: devices seen before, kept while there.
    using Scan = std::function<std::vector<SerialPortFacts>(const QStringList& alsoDevices)>;

    // scan stands in for the system's devices (tests); none: ScanSerialPorts.
    explicit DeviceList(const QString& appDirectory, QWidget* parent = nullptr, Scan scan = {});

    // The port number (1..10) a choice binds: the chosen "COM Port".
    void SetPortNumber(int portNumber);
    int PortNumber() const { return portNumber_; }

    const std::vector<SerialDeviceEntry>& Entries() const { return entries_; }
    // Scans now; the timer does so every 2 s.
    void Refresh();
    // Selects the entry the current port number opens, or none.
    void ShowBoundEntry();

signals:
    // Devices came or went: "Serial device plugged in: NAME", ...
    void ListChanged(const QString& what);
    // The port's entry now links to the chosen device: reopen the link.
    void PortBound(int portNumber, const QString& message);
    // Nothing changed, for the reason given (the entry is a file, ...).
    void BindRefused(int portNumber, const QString& message);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Choose(int index);

    QString appDirectory_;
    Scan scan_;
    int portNumber_ = 1;
    bool scanned_ = false;
    std::vector<SerialDeviceEntry> entries_;
    QStringList seen_;
    QTimer refresh_;
};

}  // namespace quorvane
