#include "link/qt/SerialDeviceScan.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>

#include "app/qt/AppFiles.h"

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace quorvane {
namespace {

constexpr const char* kByIdFolder = "/dev/serial/by-id";
constexpr int kPortNumbers = 10;

// The device each by-id link points at, to the link's path.
QHash<QString, QString> ByIdLinks() {
    QHash<QString, QString> links;
    const QDir folder(kByIdFolder);
    for (const QFileInfo& link : folder.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        const QString device = link.canonicalFilePath();
        if (!device.isEmpty()) links.insert(device, link.absoluteFilePath());
    }
    return links;
}

bool IsCharacterDevice(const QString& path) {
#ifdef Q_OS_WIN
    (void)path;
    return false;
#else
    struct stat facts {};
    return ::stat(QFile::encodeName(path).constData(), &facts) == 0 && S_ISCHR(facts.st_mode);
#endif
}

}  // namespace

std::vector<SerialPortFacts> ScanSerialPorts(const QString& appDirectory, const QStringList& alsoDevices) {
    const QHash<QString, QString> byId = ByIdLinks();
    std::vector<SerialPortFacts> facts;
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        SerialPortFacts fact;
        const QString location = port.systemLocation();
        const QString canonical = QFileInfo(location).canonicalFilePath();
        fact.SystemPath = FileSystemBytes(canonical.isEmpty() ? location : canonical);
        fact.ById = FileSystemBytes(byId.value(canonical));
        fact.Description = FileSystemBytes(port.description());
        fact.Manufacturer = FileSystemBytes(port.manufacturer());
        if (port.hasVendorIdentifier()) fact.VendorId = port.vendorIdentifier();
        if (port.hasProductIdentifier()) fact.ProductId = port.productIdentifier();
        facts.push_back(std::move(fact));
    }
    QStringList linked;
    for (int n = 1; n <= kPortNumbers; ++n) {
        const QFileInfo entry(JoinPath(appDirectory, QString("com%1").arg(n)));
        if (entry.isSymLink()) linked << entry.canonicalFilePath();
    }
    for (const QString& device : linked + alsoDevices) {
        if (device.isEmpty() || !IsCharacterDevice(device)) continue;
        SerialPortFacts fact;
        fact.SystemPath = FileSystemBytes(device);
        fact.ById = FileSystemBytes(byId.value(device));
        if (device.startsWith("/dev/pts/")) fact.Description = "pseudo-terminal";
        facts.push_back(std::move(fact));  // a device Qt listed already keeps Qt's facts
    }
    return facts;
}

}  // namespace quorvane
