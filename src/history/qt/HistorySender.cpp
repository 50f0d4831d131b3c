#include "history/qt/HistorySender.h"

#include <QTimer>

namespace quorvane {

HistorySender::HistorySender(HistoryServerSettings settings) : server_(std::move(settings)), retry_(new QTimer(this)) {
    retry_->setSingleShot(true);
    connect(retry_, &QTimer::timeout, this, &HistorySender::Drain);
}

void HistorySender::Kick(const QString& localPath) {
    path_ = localPath;
    // While the server is away the next try waits for its time.
    if (retry_->isActive() || draining_) return;
    Drain();
}

qint64 HistorySender::SendAll(const QString& localPath, bool* reached) {
    path_ = localPath;
    sent_ = 0;
    Turn turn = Turn::More;
    while (turn == Turn::More) turn = SendBatch();
    retry_->stop();
    if (reached) *reached = turn != Turn::Wait;
    return sent_;
}

void HistorySender::Disconnect() {
    retry_->stop();
    server_.Disconnect();
    local_.Close();
}

void HistorySender::Drain() {
    draining_ = SendBatch() == Turn::More;
    // One transaction at a time, so the thread stays free to be stopped.
    if (draining_) QTimer::singleShot(0, this, &HistorySender::Drain);
}

bool HistorySender::OpenLocal() {
    if (local_.IsOpen() && local_.Path() == path_) return true;
    const bool opened = local_.OpenExisting(path_);
    local_.TakeReport();  // the writer tells what is wrong with the file
    return opened;
}

HistorySender::Turn HistorySender::SendBatch() {
    if (path_.isEmpty() || !OpenLocal()) return Turn::Done;
    const std::vector<QueuedHit> batch = local_.Unsent(queue_.BatchSize());
    if (batch.empty()) {
        if (away_) {
            away_ = false;
            emit State(false, 0);
        }
        return Turn::Done;
    }
    std::vector<qint64> ids;
    for (const QueuedHit& hit : batch) ids.push_back(hit.LocalId);
    const int count = static_cast<int>(batch.size());
    ServerProblem problem = ServerProblem::Other;
    QString detail;
    if (server_.Send(batch, &problem, &detail)) {
        // Should the mark not be written, the hits go again and the server
        // keeps its one copy of each.
        local_.Mark(ids, SentMark::Sent);
        local_.TakeReport();
        sent_ += count;
        queue_.Sent(count);
        if (telling_.Worked() || away_) {
            away_ = false;
            emit State(false, local_.UnsentCount());
        }
        return Turn::More;
    }
    lastDetail_ = detail;
    const ServerReport report = telling_.Failed(problem, server_.Name().toStdString(), detail.toStdString());
    if (!report.Note.empty() || !report.Message.empty()) {
        emit Problem(QString::fromStdString(report.Note), QString::fromStdString(report.Message));
    }
    switch (queue_.Failed(problem, count)) {
    case SendQueue::Step::SendNext:
    case SendQueue::Step::ResendSingly:
        return Turn::More;
    case SendQueue::Step::MarkRefused:
        local_.Mark(ids, SentMark::Refused);
        return Turn::More;
    case SendQueue::Step::WaitAndRetry:
        break;
    }
    away_ = true;
    emit State(true, local_.UnsentCount());
    retry_->start(report.RetryMs);
    return Turn::Wait;
}

}  // namespace quorvane
