#include "history/qt/HistoryRecorder.h"

#include <QDir>
#include <QSemaphore>
#include <QTimer>
#include <atomic>
#include <memory>

#include "history/qt/HistorySender.h"
#include "history/qt/HistoryServerFile.h"
#include "history/qt/HistoryWriter.h"

namespace quorvane {
namespace {

Instant Now() {
    const QDateTime now = QDateTime::currentDateTime();
    return Instant{now.toMSecsSinceEpoch(), now.offsetFromUtc()};
}

// A server call waits at most for libpq's connect and TCP timeouts.
constexpr int kSenderStopMs = 12000;

}  // namespace

HistoryRecorder::HistoryRecorder(std::function<QString()> logFolder, QString appDirectory, QObject* parent)
    : QObject(parent), logFolder_(std::move(logFolder)), appDirectory_(std::move(appDirectory)) {
    writerThread_.setObjectName("history-writer");
    writer_ = new HistoryWriter;
    writer_->moveToThread(&writerThread_);
    connect(&writerThread_, &QThread::finished, writer_, &QObject::deleteLater);
    connect(writer_, &HistoryWriter::Opened, this, [this] {
        emit Opened();
        KickSender();
    });
    connect(writer_, &HistoryWriter::Stored, this, [this](const QString&, bool forServer) {
        emit HitStored();
        if (forServer) KickSender();
    });
    connect(writer_, &HistoryWriter::Problem, this, [this](const QString& note, const QString& message) {
        if (!note.isEmpty()) emit Note(note);
        if (!message.isEmpty()) emit Tell(message);
    });
    writerThread_.start();
    QString problem;
    server_ = LoadHistoryServer(appDirectory_, &problem);
    if (!problem.isEmpty()) {
        // Told once whoever listens is connected.
        QTimer::singleShot(0, this, [this, problem] { emit Tell(problem); });
    }
    StartSender();
}

HistoryRecorder::~HistoryRecorder() {
    Flush();
    StopSender();
    writerThread_.quit();
    writerThread_.wait();
}

QString HistoryRecorder::HistoryPath() const { return QDir(logFolder_()).filePath(kHistoryFileName); }

void HistoryRecorder::StartRun(const QDateTime& startedAt, const std::string& launchDate, const std::string& launchTime) {
    run_ = HistoryRun{Instant{startedAt.toMSecsSinceEpoch(), startedAt.offsetFromUtc()}, launchDate, launchTime};
    QMetaObject::invokeMethod(writer_, [writer = writer_, path = HistoryPath()] { writer->Open(path); });
}

void HistoryRecorder::Follow(const HitRecord& hit) {
    if (!hit.HitActive) {
        hitStart_.reset();
    } else if (!hit.StartTime.empty() && !hitStart_) {
        hitStart_ = Now();
    }
}

void HistoryRecorder::AddHit(const HitEnded& ended, const std::string& recordingFile) {
    const Instant end = Now();
    const Instant start = hitStart_.value_or(end);
    hitStart_.reset();
    const std::optional<HistoryHit> hit = HistoryHitFromEnded(ended, start, end, recordingFile);
    if (!hit) return;
    HistoryWriter::Item item{HistoryPath(), run_, AsStoredText(*hit), server_.has_value()};
    QMetaObject::invokeMethod(writer_, [writer = writer_, item = std::move(item)]() mutable {
        writer->Write(std::move(item));
    });
}

bool HistoryRecorder::Flush(int timeoutMs) {
    if (!writerThread_.isRunning()) return true;
    auto done = std::make_shared<QSemaphore>();
    auto flushed = std::make_shared<std::atomic<bool>>(false);
    QMetaObject::invokeMethod(writer_, [writer = writer_, done, flushed] {
        *flushed = writer->FinalFlush();
        done->release();
    });
    return done->tryAcquire(1, timeoutMs) && *flushed;
}

void HistoryRecorder::ReloadServer() {
    StopSender();
    QString problem;
    server_ = LoadHistoryServer(appDirectory_, &problem);
    if (!problem.isEmpty()) emit Tell(problem);
    serverAway_ = false;
    waiting_ = 0;
    StartSender();
    KickSender();
    emit ServerChanged();
}

void HistoryRecorder::StartSender() {
    if (!server_) return;
    senderThread_ = new QThread;
    senderThread_->setObjectName("history-sender");
    sender_ = new HistorySender(*server_);
    sender_->moveToThread(senderThread_);
    connect(senderThread_, &QThread::finished, sender_, &QObject::deleteLater);
    connect(sender_, &HistorySender::Problem, this, [this](const QString& note, const QString& message) {
        if (!note.isEmpty()) emit Note(note);
        if (!message.isEmpty()) emit Tell(message);
    });
    connect(sender_, &HistorySender::State, this, [this](bool away, qint64 waiting) {
        serverAway_ = away;
        waiting_ = waiting;
        emit ServerChanged();
    });
    senderThread_->start();
}

void HistoryRecorder::StopSender() {
    if (!senderThread_) return;
    disconnect(sender_, nullptr, this, nullptr);
    QMetaObject::invokeMethod(sender_, [sender = sender_] { sender->Disconnect(); });
    senderThread_->quit();
    if (senderThread_->wait(kSenderStopMs)) {
        delete senderThread_;
    } else {
        // A server call still hangs: the thread ends with it, and the
        // program does not wait for it.
        connect(senderThread_, &QThread::finished, senderThread_, &QObject::deleteLater);
    }
    senderThread_ = nullptr;
    sender_ = nullptr;
}

void HistoryRecorder::KickSender() {
    if (!sender_) return;
    QMetaObject::invokeMethod(sender_, [sender = sender_, path = HistoryPath()] { sender->Kick(path); });
}

}  // namespace quorvane
