#include "link/qt/ScannerLink.h"

namespace quorvane {

ScannerLink::ScannerLink(QObject* parent) : QObject(parent), serial_(this), network_(this) {
    clock_.start();
    for (LinkTransport* transport : {static_cast<LinkTransport*>(&serial_), static_cast<LinkTransport*>(&network_)}) {
        connect(transport, &LinkTransport::Lost, this, [this] {
            const bool wasBlocked = backlog_.Blocked();
            backlog_.Reset();
            NoteBlocked(wasBlocked);
            emit Lost();
        });
        connect(transport, &LinkTransport::Incoming, this, &ScannerLink::Incoming);
        connect(transport, &LinkTransport::Opened, this, &ScannerLink::Opened);
        connect(transport, &LinkTransport::Failed, this, &ScannerLink::Failed);
    }
}

QString ScannerLink::Open(const PortEntry& entry, int baud) {
    Close();
    if (entry.kind == PortEntry::Kind::Unusable) return QString::fromStdString(entry.problem);
    current_ = entry.OnNetwork() ? static_cast<LinkTransport*>(&network_) : &serial_;
    return current_->Open(entry, baud);
}

void ScannerLink::Close() {
    current_->Close();
    const bool wasBlocked = backlog_.Blocked();
    backlog_.Reset();
    NoteBlocked(wasBlocked);
}

bool ScannerLink::IsOpen() const { return current_->IsOpen(); }

void ScannerLink::SendCommand(const std::string& text) {
    if (!current_->IsOpen()) return;
    const std::string line = text + '\r';
    const bool wasBlocked = backlog_.Blocked();
    if (backlog_.Admit(line.size(), current_->Unsent(), clock_.elapsed())) current_->Write(line);
    NoteBlocked(wasBlocked);
}

int ScannerLink::BytesWaiting() {
    const int count = current_->BytesWaiting();
    NoteAnswer(count > 0);
    return count;
}

std::string ScannerLink::ReadAvailable() {
    std::string bytes = current_->ReadAvailable();
    NoteAnswer(!bytes.empty());
    return bytes;
}

std::size_t ScannerLink::Unsent() const { return current_->Unsent(); }

void ScannerLink::WatchIncoming(bool on) {
    serial_.WatchIncoming(on);
    network_.WatchIncoming(on);
}

void ScannerLink::NoteAnswer(bool answered) {
    if (!answered) return;
    const bool wasBlocked = backlog_.Blocked();
    backlog_.Answered(current_->Unsent());
    NoteBlocked(wasBlocked);
}

void ScannerLink::NoteBlocked(bool wasBlocked) {
    if (wasBlocked != backlog_.Blocked())
        QMetaObject::invokeMethod(this, &ScannerLink::BlockedChanged, Qt::QueuedConnection);
}

}  // namespace quorvane
