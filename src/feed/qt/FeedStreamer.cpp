#include "feed/qt/FeedStreamer.h"

#include <utility>
#ifndef Q_OS_WIN
#include <pthread.h>
#include <signal.h>
#endif

#include "app/qt/AppFiles.h"
#include "feed/qt/FeedWorker.h"

namespace quorvane {
namespace {

// About ten seconds of input blocks may wait for the worker.
constexpr int kMostPendingBlocks = 200;

}  // namespace

FeedStreamer::FeedStreamer(QString appDirectory, QObject* parent)
    : QObject(parent), appDirectory_(std::move(appDirectory)), pending_(std::make_shared<std::atomic<int>>(0)) {
    thread_.setObjectName("feed");
    worker_ = new FeedWorker;
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    connect(worker_, &FeedWorker::StateChanged, this, [this](const QString& text) {
        if (running_) SetState(text);
    });
    thread_.start();
#ifndef Q_OS_WIN
    // libshout writes to the server's socket without MSG_NOSIGNAL: a server
    // that went away would end the whole program with SIGPIPE. Blocked on
    // this thread, the write fails with EPIPE instead and the feed reconnects.
    QMetaObject::invokeMethod(worker_, [] {
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
    });
#endif
    state_ = QString::fromStdString(FeedStateText(FeedState::Off));
}

FeedStreamer::~FeedStreamer() {
    // No signals from here on: what listens (the sound tap's owner) may be
    // gone already.
    if (std::exchange(running_, false)) QMetaObject::invokeMethod(worker_, [worker = worker_] { worker->End(); });
    thread_.quit();
    thread_.wait();
}

void FeedStreamer::Load() {
    settings_ = ReadFeedSettings(ReadFileBytes(JoinPath(appDirectory_, kFeedSettingsFile)).value_or(""));
    for (const std::string& notice : settings_.notices) emit Notice(QString::fromStdString(notice));
}

bool FeedStreamer::Save(const FeedSettings& settings, QString* error) {
    if (!WriteFileAtomically(JoinPath(appDirectory_, kFeedSettingsFile), WriteFeedSettings(settings), error)) {
        return false;
    }
    settings_ = settings;
    settings_.notices.clear();
    return true;
}

void FeedStreamer::Start() {
    const bool was = running_;
    running_ = true;
    QMetaObject::invokeMethod(worker_, [worker = worker_, settings = settings_] { worker->Begin(settings); });
    const QString title = title_;
    ShowTitle(title);
    if (!was) emit RunningChanged(true);
}

void FeedStreamer::Stop() {
    if (!running_) return;
    running_ = false;
    // Queued after every block handed over so far: what was taken is sent.
    QMetaObject::invokeMethod(worker_, [worker = worker_] { worker->End(); });
    SetState(QString::fromStdString(FeedStateText(FeedState::Off)));
    emit RunningChanged(false);
}

void FeedStreamer::StartForRun(bool forced) {
    if (forced || settings_.start) Start();
}

void FeedStreamer::PushSound(const std::int16_t* samples, std::int64_t frames, int rate, int channels) {
    if (!running_ || frames <= 0 || channels <= 0) return;
    if (pending_->load() >= kMostPendingBlocks) return;
    ++*pending_;
    std::vector<std::int16_t> block(samples, samples + frames * channels);
    QMetaObject::invokeMethod(worker_, [worker = worker_, block = std::move(block), rate, channels,
                                        pending = pending_] {
        --*pending;
        worker->Sound(block, rate, channels);
    });
}

void FeedStreamer::ShowTitle(const QString& title) {
    title_ = title;
    if (!running_) return;
    const QByteArray utf8 =
        (title.isEmpty() ? QString::fromLatin1(IdleTitle(settings_).c_str()) : title).toUtf8();
    QMetaObject::invokeMethod(worker_, [worker = worker_, utf8] { worker->Title(utf8); });
}

void FeedStreamer::SetState(const QString& text) {
    if (text == state_) return;
    state_ = text;
    emit StateChanged(text);
}

}  // namespace quorvane
