#include "link/qt/ComPortFrame.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include "app/SettingsFiles.h"
#include "link/PortNaming.h"
#include "app/qt/Controls.h"
#include "app/qt/Twips.h"
#include "link/qt/DeviceList.h"

namespace quorvane {
namespace {
const char* kRunningLabelColour = "color: #c0c0c0;";
const char* kStoppedLabelColour = "color: #404040;";
}  // namespace

ComPortFrame::ComPortFrame(QWidget* tab, const QString& appDirectory, ComPortHost host)
    : QGroupBox("Com Port Settings", tab), host_(std::move(host)) {
    setObjectName("Frame1");
    setGeometry(TwipsRect(120, 120, 3900, 2100));
    Label8 = NewControl<QLabel>(this, "Label8", TwipsRect(150, 360, 1200, 300), "COM Port:");
    Combo1 = NewControl<QComboBox>(this, "Combo1", TwipsRect(1400, 330, 900, 330));
    for (int n = 1; n <= kPortCount; ++n) Combo1->addItem(QString::number(n));
    Combo1->setCurrentIndex(-1);
    connect(Combo1, &QComboBox::activated, this, &ComPortFrame::Combo1_Click);
    port_device = NewControl<QLabel>(this, "port_device", TwipsRect(2350, 360, 1500, 300));
    port_device->setStyleSheet("color: #404040;");

    Label10 = NewControl<QLabel>(this, "Label10", TwipsRect(150, 840, 1200, 300), "Port Speed:");
    Combo2 = NewControl<QComboBox>(this, "Combo2", TwipsRect(1400, 810, 1100, 330));
    for (int speed : kPortSpeeds) Combo2->addItem(QString::number(speed));
    Combo2->setCurrentIndex(-1);
    Combo2->setEnabled(false);
    connect(Combo2, &QComboBox::activated, this, &ComPortFrame::Combo2_Click);

    device_list = new DeviceList(appDirectory, this);
    device_list->setGeometry(TwipsRect(2600, 810, 1200, 330));
    device_list->view()->setMinimumWidth(Px(6000));
    connect(device_list, &DeviceList::PortBound, this, [this](int, const QString& message) {
        ShowPortDevice();
        host_.note(message);
        host_.rebound();
    });
    connect(device_list, &DeviceList::BindRefused, this, [this](int, const QString& message) { host_.note(message); });
    connect(device_list, &DeviceList::ListChanged, this, [this](const QString& what) { host_.note(what); });

    Command2 = NewControl<QPushButton>(this, "Command2", TwipsRect(1400, 1380, 1100, 420), "Run");
    Command2->setEnabled(false);
    connect(Command2, &QPushButton::clicked, this, &ComPortFrame::Command2_Click);
    for (QLabel* label : {Label8, Label10}) label->setStyleSheet(kStoppedLabelColour);
    Combo1->setAccessibleName("COM port");
    Combo2->setAccessibleName("Baud rate");
    Command2->setAccessibleDescription("Opens the port and starts polling the scanner, or stops");
}

int ComPortFrame::PortIndex() const { return Combo1->currentIndex(); }
int ComPortFrame::SpeedIndex() const { return Combo2->currentIndex(); }

void ComPortFrame::Choose(int portIndex, int speedIndex) {
    if (portIndex < 0) return;
    Combo1->setCurrentIndex(portIndex);
    Combo1_Click(portIndex);
    if (speedIndex < 0) return;
    Combo2->setCurrentIndex(speedIndex);
    Combo2_Click(speedIndex);
}

void ComPortFrame::ShowPortDevice() {
    // A port entry in the app folder that links to a device shows the device
    // (short enough to read whole); the entry's own path is in the tooltip.
    const QString entry = host_.portDevice(Combo1->currentIndex() + 1);
    const QFileInfo link(entry);
    QString device = link.isSymLink() ? link.canonicalFilePath() : QString();
    if (link.isSymLink() && device.isEmpty()) device = link.symLinkTarget();  // nothing there now
    ShowElided(port_device, device.isEmpty() ? entry : device);
    if (!device.isEmpty()) port_device->setToolTip(QString("%1 links to %2").arg(entry, device));
    device_list->SetPortNumber(Combo1->currentIndex() + 1);
}

void ComPortFrame::Combo1_Click(int index) {
    if (index < 0) return;
    Combo2->setEnabled(true);
    ShowPortDevice();
    host_.prompt("Select Port Speed");
}

void ComPortFrame::Combo2_Click(int index) {
    if (index < 0) return;
    host_.prompt("Setting Up Audio");
    host_.setUpAudio();
    Command2->setEnabled(true);
    host_.prompt("Hit Run");
}

void ComPortFrame::Command2_Click() {
    if (Command2->text() == "Run") {
        host_.run(Combo1->currentIndex(), Combo2->currentIndex());
    } else {
        host_.stop();
    }
    host_.focusPicture1();
}

void ComPortFrame::ShowRunning(bool running) {
    Combo1->setEnabled(!running);
    Combo2->setEnabled(!running);
    Label8->setStyleSheet(running ? kRunningLabelColour : kStoppedLabelColour);
    Label10->setStyleSheet(running ? kRunningLabelColour : kStoppedLabelColour);
    Command2->setText(running ? "Stop" : "Run");
    if (running) ShowPortDevice();
}

}  // namespace quorvane
