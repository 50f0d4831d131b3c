#include "link/qt/ScannerLink.h"

#include "link/Commands.h"

namespace quorvane {

ScannerLink::ScannerLink(QObject* parent) : QObject(parent), serial_(this), network_(this) {
    clock_.start();
    silenceCheck_.setInterval(1000);
    connect(&silenceCheck_, &QTimer::timeout, this, &ScannerLink::CheckNetworkSilence);
    Watch(serial_);
    Watch(network_);
}

ScannerLink::ScannerLink(LinkTransport& transport, QObject* parent) : ScannerLink(parent) {
    only_ = &transport;
    current_ = only_;
    Watch(transport);
}

void ScannerLink::Watch(LinkTransport& transport) {
    connect(&transport, &LinkTransport::Lost, this, [this] {
        Forget();
        emit Lost();
    });
    connect(&transport, &LinkTransport::Incoming, this, [this] {
        if (ReadIn()) emit Received();
    });
    connect(&transport, &LinkTransport::Opened, this, &ScannerLink::Opened);
    connect(&transport, &LinkTransport::Failed, this, &ScannerLink::Failed);
}

QString ScannerLink::Open(const PortEntry& entry, int baud) {
    Close();
    if (entry.kind == PortEntry::Kind::Unusable) return QString::fromStdString(entry.problem);
    current_ = only_ ? only_ : entry.OnNetwork() ? static_cast<LinkTransport*>(&network_) : &serial_;
    if (current_->SilenceMeansLost()) silenceCheck_.start();
    return current_->Open(entry, baud);
}

void ScannerLink::CheckNetworkSilence() {
    // Programming may keep the scanner busy for many seconds (a memory
    // clear): its own waits judge the line meanwhile.
    if (!current_->SilenceMeansLost() || !current_->IsOpen() || (holder_ && PutsInProgramMode(*holder_))) return;
    if (!unansweredSinceMs_ || clock_.elapsed() - *unansweredSinceMs_ < kNetworkSilenceMs) return;
    current_->Close();
    Forget();
    QMetaObject::invokeMethod(this, &ScannerLink::Lost, Qt::QueuedConnection);
}

void ScannerLink::Close() {
    silenceCheck_.stop();
    current_->Close();
    Forget();
}

void ScannerLink::Forget() {
    const bool wasBlocked = backlog_.Blocked();
    backlog_.Reset();
    ledger_.Reset();
    unansweredSinceMs_.reset();
    SetHolder(std::nullopt);
    NoteBlocked(wasBlocked);
}

void ScannerLink::SetHolder(std::optional<LineUser> holder) {
    if (holder_ == holder) return;
    holder_ = holder;
    // While a user holds the line (a key sequence, a harvest, memory
    // programming) replies are taken in the moment they arrive. Otherwise
    // the poll takes them in at its ticks: a line whose replies trickle in
    // byte by byte then wakes nobody in between.
    current_->WatchIncoming(holder_.has_value());
    emit HolderChanged();
}

bool ScannerLink::IsOpen() const { return current_->IsOpen(); }

Grant ScannerLink::Ask(LineUser user) {
    const Grant grant = GrantLine(holder_, user);
    if (grant != Grant::Go || !HoldsLine(user)) return grant;
    const bool takesOverKeys = holder_ == LineUser::Keys && user != LineUser::Keys;
    SetHolder(user);
    if (takesOverKeys) emit KeysDropped();
    return grant;
}

void ScannerLink::Release(LineUser user) {
    if (holder_ != user) return;
    if (PutsInProgramMode(user)) {
        // What came in meanwhile is not the poll's: it starts afresh, waiting
        // for the reply to "EPG" first.
        ledger_.Reset();
        if (programMode_ && current_->IsOpen()) {
            LeaveProgramMode();
            if (ScansAfterProgramMode(user)) Write(kScanAfterProgramming);
        }
    }
    SetHolder(std::nullopt);
}

bool ScannerLink::Send(LineUser user, const std::string& text) {
    if (!current_->IsOpen() || GrantLine(holder_, user) != Grant::Go) return false;
    return Write(text);
}

void ScannerLink::SendAll(LineUser user, std::initializer_list<const char*> texts) {
    if (!current_->IsOpen() || GrantLine(holder_, user) != Grant::Go) return;
    std::string lines;
    for (const char* text : texts) Admit(text, lines);
    if (!lines.empty()) current_->Write(lines);
}

bool ScannerLink::Write(const std::string& text) {
    std::string line;
    const bool admitted = Admit(text, line);
    if (admitted) current_->Write(line);
    return admitted;
}

bool ScannerLink::Admit(const std::string& text, std::string& lines) {
    const bool wasBlocked = backlog_.Blocked();
    const std::size_t size = text.size() + 1;
    const bool admitted = backlog_.Admit(size, current_->Unsent() + lines.size(), clock_.elapsed());
    if (admitted) {
        lines += text;
        lines += '\r';
        ledger_.Written(text, clock_.elapsed());
        if (!unansweredSinceMs_) unansweredSinceMs_ = clock_.elapsed();
        if (text == kEnterProgramming || text == kExitProgramming) {
            const bool on = text == kEnterProgramming;
            if (programMode_ != on) {
                programMode_ = on;
                emit ProgramModeChanged(on);
            }
        }
    }
    NoteBlocked(wasBlocked);
    return admitted;
}

void ScannerLink::LeaveProgramMode() {
    if (current_->IsOpen()) Write(kExitProgramming);
}

void ScannerLink::Flush(int waitMs) {
    if (current_->IsOpen()) current_->Flush(waitMs);
}

bool ScannerLink::ReadIn() {
    // One read takes what is there; only when nothing came is the line asked
    // whether anything waits (which also notices a line that went away).
    std::string bytes = current_->ReadAvailable();
    if (bytes.empty() && current_->BytesWaiting() > 0) bytes = current_->ReadAvailable();
    if (bytes.empty()) return false;
    ledger_.Received(bytes, clock_.elapsed());
    unansweredSinceMs_.reset();
    const bool wasBlocked = backlog_.Blocked();
    backlog_.Answered(current_->Unsent());
    NoteBlocked(wasBlocked);
    return true;
}

std::optional<std::string> ScannerLink::TakeRound() {
    if (!current_->IsOpen() || GrantLine(holder_, LineUser::Poll) != Grant::Go) return std::nullopt;
    ReadIn();
    return ledger_.TakeRound(clock_.elapsed());
}

std::string ScannerLink::TakeReceived() {
    ReadIn();
    return ledger_.TakeAll();
}

std::vector<std::string> ScannerLink::TakeLines() {
    ReadIn();
    return ledger_.TakeLines();
}

std::size_t ScannerLink::Unsent() const { return current_->Unsent(); }

void ScannerLink::NoteBlocked(bool wasBlocked) {
    if (wasBlocked != backlog_.Blocked())
        QMetaObject::invokeMethod(this, &ScannerLink::BlockedChanged, Qt::QueuedConnection);
}

}  // namespace quorvane
