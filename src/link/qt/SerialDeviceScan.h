#pragma once
#include <QString>
#include <QStringList>
#include <vector>

#include "link/SerialDevices.h"

namespace quorvane {

// The serial devices present, as facts for SerialDeviceEntries: Qt Serial
// Port's port information, with the /dev/serial/by-id link of each device
// where udev made one; and the devices the app folder's port entries
// (com1..com10) link to that Qt does not list, such as the simulator's
// pseudo-terminal, so that what a port number opens is always in the list;
// and of the devices in alsoDevices (ones linked before), those still there.
std::vector<SerialPortFacts> ScanSerialPorts(const QString& appDirectory, const QStringList& alsoDevices = {});

}  // namespace quorvane
