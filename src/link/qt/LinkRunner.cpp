#include "link/qt/LinkRunner.h"

#include <QFile>
#include <QFileInfo>

#include "app/qt/AppFiles.h"
#include "link/PortBinding.h"
#include "link/qt/ScannerLink.h"

namespace quorvane {
namespace {
const char* kConnecting = "Connecting";
const char* kDisconnected = "Scanner disconnected - retrying";
const char* kNotReading = "Scanner not reading - retrying";
const char* kNoReply = "No reply";
const char* kHarvestRunning = "Harvest running";
const char* kProgramming = "Programming scanner";
constexpr int kRetryEveryMs = 2000;
// Present while the scanner may still be in programming mode.
const char* kProgramModeMarker = "scanner_in_program_mode";
}  // namespace

LinkRunner::LinkRunner(ScannerLink& link, QString appDirectory, QObject* parent)
    : QObject(parent), link_(link), appDirectory_(std::move(appDirectory)) {
    reconnectTimer_.setInterval(kRetryEveryMs);
    connect(&reconnectTimer_, &QTimer::timeout, this, &LinkRunner::Retry);
    entryCheck_.setInterval(kRetryEveryMs);
    connect(&entryCheck_, &QTimer::timeout, this, &LinkRunner::CheckEntryMoved);
    connect(&link_, &ScannerLink::Lost, this, &LinkRunner::OnLost);
    connect(&link_, &ScannerLink::Failed, this, &LinkRunner::OnFailed);
    connect(&link_, &ScannerLink::Opened, this, [this] {
        if (!running_) return;
        SetMessage({});
        LineOpen();
    });
    connect(&link_, &ScannerLink::ProgramModeChanged, this, &LinkRunner::MarkProgramMode);
    connect(&link_, &ScannerLink::BlockedChanged, this, &LinkRunner::OnBlockedChanged);
    connect(&link_, &ScannerLink::HolderChanged, this, &LinkRunner::OnHolderChanged);
}

PortEntry LinkRunner::Entry(int portNumber) const {
    if (portNumber < 1) return {};
    return FindPortEntry(portNumber, FileSystemBytes(appDirectory_));
}

QString LinkRunner::PortDevice(int portNumber) const { return FileSystemText(Entry(portNumber).shown); }

QString LinkRunner::Open() {
    openedDevice_ = DeviceNow();
    return link_.Open(Entry(portNumber_), baud_);
}

QString LinkRunner::DeviceNow() const {
    const PortEntry entry = Entry(portNumber_);
    if (entry.kind != PortEntry::Kind::Device) return {};
    return QFileInfo(FileSystemText(entry.device)).canonicalFilePath();
}

void LinkRunner::CheckEntryMoved() {
    if (!running_ || message_ != kNoReply) {
        entryCheck_.stop();
        return;
    }
    const QString now = DeviceNow();
    if (now.isEmpty() || now == openedDevice_) return;
    // The entry leads elsewhere now: that is where the scanner is.
    entryCheck_.stop();
    link_.Close();
    emit LineLost();
    reconnectTimer_.start();
    Retry();
}

bool LinkRunner::Run(int portNumber, int baud) {
    portNumber_ = portNumber;
    baud_ = baud;
    const QString failure = Open();
    if (!failure.isEmpty()) {
        // Stay stopped and say what is wrong; nothing else changes.
        failure_ = QString("Port %1 (%2) %3")
                       .arg(portNumber)
                       .arg(PortDevice(portNumber), QString::fromStdString(WithPortAdvice(failure.toStdString())));
        return false;
    }
    failure_.clear();
    running_ = true;
    // A network connection may still be on its way: the poll waits for it.
    SetMessage(link_.IsOpen() ? QString() : QString(kConnecting));
    if (link_.IsOpen()) LineOpen();
    return true;
}

void LinkRunner::LineOpen() {
    if (!link_.InProgramMode() && !FileExists(MarkerPath())) return;
    link_.LeaveProgramMode();
    MarkProgramMode(link_.InProgramMode());
}

QString LinkRunner::MarkerPath() const { return JoinPath(appDirectory_, kProgramModeMarker); }

void LinkRunner::MarkProgramMode(bool on) {
    if (!on) {
        QFile::remove(MarkerPath());
    } else if (!FileExists(MarkerPath())) {
        WriteFileAtomically(MarkerPath(), "The scanner was put in programming mode; Quorvane tells it to leave "
                                          "that mode when it next reaches it.\r\n");
    }
}

void LinkRunner::Stop() {
    running_ = false;
    reconnectTimer_.stop();
    entryCheck_.stop();
    link_.Close();
    SetMessage({});
}

void LinkRunner::OnLost() {
    if (!running_) return;
    SetMessage(kDisconnected);
    reconnectTimer_.start();
    emit LineLost();
}

void LinkRunner::OnFailed(const QString& reason) {
    if (!running_) return;
    // After a drop the address was right: the retry message stays.
    if (message_ != kDisconnected) {
        SetMessage(QString("Port %1 (%2) %3").arg(portNumber_).arg(PortDevice(portNumber_), reason));
    }
    reconnectTimer_.start();
    emit LineLost();
}

void LinkRunner::Retry() {
    if (!running_) {
        reconnectTimer_.stop();
        return;
    }
    if (!Open().isEmpty()) return;  // still gone: try again in 2 s
    reconnectTimer_.stop();
    if (link_.IsOpen()) {
        SetMessage({});  // else once the connection is up
        LineOpen();
    }
    emit LineBack();
}

void LinkRunner::OnBlockedChanged() {
    if (link_.Blocked()) {
        if (message_.isEmpty() || message_ == kNoReply) SetMessage(kNotReading);
    } else if (message_ == kNotReading) {
        SetMessage({});
    }
}

void LinkRunner::OnHolderChanged() {
    const auto holder = link_.Holder();
    const QString busy = holder == LineUser::Harvest  ? QString(kHarvestRunning)
                         : holder == LineUser::Memory ? QString(kProgramming)
                                                      : QString();
    if (!busy.isEmpty()) {
        if (message_.isEmpty() || message_ == kNoReply) SetMessage(busy);
    } else if (message_ == kHarvestRunning || message_ == kProgramming) {
        SetMessage({});
    }
}

bool LinkRunner::Live() const { return running_ && (message_.isEmpty() || message_ == kHarvestRunning); }

void LinkRunner::SetPollSilent(bool silent) {
    if (silent && message_.isEmpty()) SetMessage(kNoReply);
    if (silent && message_ == kNoReply && !entryCheck_.isActive()) entryCheck_.start();
    if (!silent && message_ == kNoReply) SetMessage({});
}

void LinkRunner::SetMessage(const QString& message) {
    if (message_ == message) return;
    message_ = message;
    emit MessageChanged(message_);
}

}  // namespace quorvane
