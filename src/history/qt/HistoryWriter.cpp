#include "history/qt/HistoryWriter.h"

#include <QTimer>

namespace quorvane {
namespace {

// Hits kept in memory while the history file cannot take them; beyond this
// the oldest give way (the run's log file still has them).
constexpr size_t kMaxPending = 10000;
constexpr int kRetryMs = 10000;
constexpr int kExitWaitMs = 2000;

}  // namespace

HistoryWriter::HistoryWriter() : retry_(new QTimer(this)) {
    retry_->setSingleShot(true);
    retry_->setInterval(kRetryMs);
    connect(retry_, &QTimer::timeout, this, &HistoryWriter::Drain);
}

void HistoryWriter::Open(const QString& path) {
    if (EnsureOpen(path)) emit Opened(path);
}

void HistoryWriter::Write(Item item) {
    if (pending_.size() >= kMaxPending) pending_.pop_front();
    pending_.push_back(std::move(item));
    Drain();
}

bool HistoryWriter::FinalFlush() {
    if (pending_.empty()) return true;
    store_.SetBusyTimeout(kExitWaitMs);
    Drain();
    return pending_.empty();
}

bool HistoryWriter::EnsureOpen(const QString& path) {
    if (store_.IsOpen() && store_.Path() == path) return true;
    const bool opened = store_.Open(path);
    Report(opened);
    return opened;
}

void HistoryWriter::Drain() {
    while (!pending_.empty()) {
        const Item& item = pending_.front();
        if (!EnsureOpen(item.Path) || store_.Add(item.Run, item.Hit, item.ForServer) == HistoryStore::Added::Failed) {
            Report(false);
            retry_->start();
            return;
        }
        const Item done = std::move(pending_.front());
        pending_.pop_front();
        emit Stored(done.Path, done.ForServer);
    }
    retry_->stop();
    Report(true);
}

// A failure to open or write is told once, until the history works again; a
// damaged file set aside is told each time.
void HistoryWriter::Report(bool worked) {
    const QString report = store_.TakeReport();
    if (worked) failureTold_ = false;
    if (report.isEmpty() || (!worked && failureTold_)) return;
    if (!worked) failureTold_ = true;
    // Worked with a report: a damaged file was set aside and a new one begun.
    emit Problem(worked ? "History file damaged" : "History not saved", report);
}

}  // namespace quorvane
