#include "link/qt/DeviceList.h"

#include <QFileInfo>
#include <QStylePainter>

#include "app/qt/AppFiles.h"
#include "link/PortBinding.h"
#include "link/PortNaming.h"
#include "link/qt/SerialDeviceScan.h"

namespace quorvane {
namespace {
constexpr int kRefreshMs = 2000;
}  // namespace

DeviceList::DeviceList(const QString& appDirectory, QWidget* parent, Scan scan)
    : QComboBox(parent), appDirectory_(appDirectory), scan_(std::move(scan)) {
    setObjectName("device_list");
    setAccessibleName("Device");
    setPlaceholderText("Device");
    setToolTip("The serial devices present; choosing one makes the chosen port number open it");
    if (!scan_) scan_ = [this](const QStringList& alsoDevices) { return ScanSerialPorts(appDirectory_, alsoDevices); };
    // Only a choice by the user binds; selecting the bound entry does not.
    connect(this, &QComboBox::activated, this, &DeviceList::Choose);
    connect(&refresh_, &QTimer::timeout, this, &DeviceList::Refresh);
    refresh_.setInterval(kRefreshMs);
}

// Looking for serial devices reads a good part of /sys: it is done only
// while the list can be seen, so a program left on the Log tab costs nothing.
void DeviceList::showEvent(QShowEvent* event) {
    QComboBox::showEvent(event);
    Refresh();
    refresh_.start();
}

void DeviceList::hideEvent(QHideEvent* event) {
    QComboBox::hideEvent(event);
    refresh_.stop();
}

void DeviceList::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const int index = currentIndex();
    if (index >= 0 && static_cast<size_t>(index) < entries_.size()) {
        QString name = FileSystemText(entries_[static_cast<size_t>(index)].SystemPath);
        if (name.startsWith("/dev/")) name.remove(0, 5);
        option.currentText = name;
    }
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void DeviceList::SetPortNumber(int portNumber) {
    portNumber_ = portNumber;
    ShowBoundEntry();
}

void DeviceList::Refresh() {
    std::vector<SerialDeviceEntry> entries = SerialDeviceEntries(scan_(seen_));
    for (const SerialDeviceEntry& entry : entries) {
        const QString path = FileSystemText(entry.SystemPath);
        if (!seen_.contains(path)) seen_ << path;
    }
    if (entries == entries_ && scanned_) return;  // nothing to redraw
    const std::string change = SerialDeviceChange(entries_, entries);
    const bool first = !scanned_;
    scanned_ = true;
    entries_ = std::move(entries);
    clear();
    for (const SerialDeviceEntry& entry : entries_) {
        addItem(FileSystemText(entry.Label));
        setItemData(count() - 1, FileSystemText(entry.Label), Qt::ToolTipRole);
    }
    ShowBoundEntry();
    if (!first && !change.empty()) emit ListChanged(FileSystemText(change));
}

void DeviceList::ShowBoundEntry() {
    const PortEntry port = FindPortEntry(portNumber_, FileSystemBytes(appDirectory_));
    int shown = -1;
    if (port.kind == PortEntry::Kind::Device) {
        const std::string link = PortLinkTarget(portNumber_, FileSystemBytes(appDirectory_));
        const std::string device = FileSystemBytes(QFileInfo(FileSystemText(port.device)).canonicalFilePath());
        for (size_t i = 0; i < entries_.size() && shown < 0; ++i) {
            const SerialDeviceEntry& entry = entries_[i];
            if ((!link.empty() && entry.Path == link) || (!device.empty() && entry.SystemPath == device)) {
                shown = static_cast<int>(i);
            }
        }
    }
    if (currentIndex() != shown) setCurrentIndex(shown);
    setToolTip(shown < 0 ? QString("The serial devices present; choosing one makes the chosen port number open it")
                         : itemText(shown));
}

void DeviceList::Choose(int index) {
    if (index < 0 || static_cast<size_t>(index) >= entries_.size()) return;
    const PortBinding binding =
        BindPortToDevice(portNumber_, FileSystemBytes(appDirectory_), entries_[static_cast<size_t>(index)].Path);
    const QString message = FileSystemText(binding.Message);
    if (!binding.Bound) {
        ShowBoundEntry();  // back to what the port really opens
        emit BindRefused(portNumber_, message);
        return;
    }
    ShowBoundEntry();
    emit PortBound(portNumber_, message);
}

}  // namespace quorvane
