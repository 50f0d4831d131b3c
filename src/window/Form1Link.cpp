// The serial link of the main window: choosing port and speed, Run and
// Stop, and winning the scanner back after it went away.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "link/PortNaming.h"
#include "app/qt/AppFiles.h"
#include "window/Form1.h"
#include "tools/qt/HarvestPanel.h"

namespace quorvane {
namespace {
const char* kRunningLabelColour = "color: #c0c0c0;";
const char* kStoppedLabelColour = "color: #404040;";
const char* kDisconnected = "Scanner disconnected - retrying";
const char* kNotReading = "Scanner not reading - retrying";
}  // namespace

PortEntry Form1::CurrentPortEntry() const {
    if (Combo1->currentIndex() < 0) return {};
    return FindPortEntry(Combo1->currentIndex() + 1, FileSystemBytes(appDirectory_));
}

// The device or network address the chosen port number opens.
QString Form1::PortDevice() const { return FileSystemText(CurrentPortEntry().shown); }

void Form1::ShowPortDevice() { port_device->setText(PortDevice()); }

void Form1::Combo1_Click(int index) {
    if (index < 0) return;
    Combo2->setEnabled(true);
    ShowPortDevice();
    SetText3Base("Select Port Speed");
}

void Form1::Combo2_Click(int index) {
    if (index < 0) return;
    SetText3Base("Setting Up Audio");
    SetUpAudio();
    Command2->setEnabled(true);
    SetText3Base("Hit Run");
}

void Form1::Command2_Click() {
    if (Command2->text() == "Run") {
        StartRunning(true);
    } else {
        StopRunning();
    }
    FocusPicture1();
}

QString Form1::OpenScannerPort() {
    const int speed = kPortSpeeds[std::max(0, Combo2->currentIndex())];
    return link_.Open(CurrentPortEntry(), speed);
}

void Form1::StartRunning(bool writeSettings) {
    ShowPortDevice();
    const QString failure = OpenScannerPort();
    if (!failure.isEmpty()) {
        // Stay stopped and say what is wrong; nothing else changes.
        SetText3Base(QString("Port %1 (%2) %3").arg(Combo1->currentText(), PortDevice(), failure));
        return;
    }
    running_ = true;
    pacer_.Reset();
    CloseAudio();
    Timer1.start();
    Timer3.start();
    Combo1->setEnabled(false);
    Combo2->setEnabled(false);
    Label8->setStyleSheet(kRunningLabelColour);
    Label10->setStyleSheet(kRunningLabelColour);
    Command2->setText("Stop");
    // A network connection may still be on its way: the poll waits for it.
    SetLinkMessage(link_.IsOpen() ? QString() : QString("Connecting"));
    if (writeSettings) {
        const ComSettings com{Combo1->currentIndex(), Combo2->currentIndex(), Timer1.interval(), {}};
        QString error;
        if (!WriteFileAtomically(JoinPath(appDirectory_, kComSettingsFile), WriteComSettings(com), &error)) {
            Tell(QString("com_settings.txt could not be saved in %1 (%2); the next start will not connect by itself.")
                     .arg(appDirectory_, error));
        }
    }
}

void Form1::StopRunning() {
    running_ = false;
    harvest_->Abandon(true);  // the scanner leaves programming mode before the port closes
    Timer1.stop();
    Timer3.stop();  // a recording under way goes on until the next Run closes the input
    UpdateListening();
    reconnectTimer_.stop();
    queue_.Clear();
    queueTimer_.stop();
    Combo1->setEnabled(true);
    Combo2->setEnabled(true);
    Label8->setStyleSheet(kStoppedLabelColour);
    Label10->setStyleSheet(kStoppedLabelColour);
    link_.Close();
    Command2->setText("Run");
    SetLinkMessage({});
}

void Form1::OnLinkLost() {
    if (!running_) return;
    harvest_->Abandon(false);
    Timer1.stop();
    queue_.Clear();
    queueTimer_.stop();
    SetLinkMessage(kDisconnected);
    reconnectTimer_.start();
}

void Form1::OnLinkFailed(const QString& reason) {
    if (!running_) return;
    Timer1.stop();
    // After a drop the address was right: the retry message stays.
    if (linkMessage_ != kDisconnected) SetLinkMessage(QString("Port %1 (%2) %3").arg(Combo1->currentText(), PortDevice(), reason));
    reconnectTimer_.start();
}

void Form1::OnLinkOpened() {
    if (running_) SetLinkMessage({});
}

void Form1::OnLinkBlockedChanged() {
    if (link_.Blocked()) {
        if (linkMessage_.isEmpty() || linkMessage_ == "No reply") SetLinkMessage(kNotReading);
    } else if (linkMessage_ == kNotReading) {
        SetLinkMessage({});
    }
}

void Form1::RetryLink() {
    if (!running_) {
        reconnectTimer_.stop();
        return;
    }
    if (!OpenScannerPort().isEmpty()) return;  // still gone: try again in 2 s
    reconnectTimer_.stop();
    if (link_.IsOpen()) SetLinkMessage({});  // else once the connection is up
    pacer_.Reset();
    Timer1.start();
}

}  // namespace quorvane
