#pragma once
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

#include "app/RetryPause.h"
#include "calls/CallsSettings.h"

class QNetworkReply;

namespace quorvane {

// Every hit's recording sent to the call servers of calls.txt. A call first
// goes to the queue folder in the app folder (one file each, named by a
// growing number), then is sent, oldest first, one at a time, with Qt's
// asynchronous network access: nothing here waits on the network, so the
// window and the poll never do. A call that cannot be delivered (no answer,
// a timeout, 5xx) stays queued and is tried again after a growing pause, also
// after a restart; a refusal (4xx: a wrong key, an unknown system) is shown
// once and the call dropped.
class CallUploader : public QObject {
    Q_OBJECT
public:
    explicit CallUploader(QString appDirectory, QObject* parent = nullptr);

    // Reads calls.txt (notices go out as Notice) and sends what the queue
    // holds from an earlier run.
    void Load();
    const CallsSettings& Settings() const { return settings_; }

    // A hit ended and its recording is saved: one call per server, queued
    // on disk before anything is sent.
    void Add(const CallMetadata& call, const QString& recording);

    int Waiting() const { return static_cast<int>(queue_.size()); }
    const QString& LastError() const { return lastError_; }
    QString StateText() const;
    // The per-try time limit (tests shorten it).
    void SetTimeoutMs(int ms) { timeoutMs_ = ms; }

signals:
    // The "Calls" line changed.
    void StateChanged(const QString& text);
    void Notice(const QString& text);

private:
    void SendNext();
    void Answered(QNetworkReply* reply);
    void Drop();
    void Failed(const QString& error);
    QString QueueFolder() const;

    QString appDirectory_;
    CallsSettings settings_;
    QStringList queue_;  // file names in the queue folder, oldest first
    qulonglong nextNumber_ = 1;
    QNetworkAccessManager network_;
    QPointer<QNetworkReply> inFlight_;
    QTimer retry_;
    RetryPause pause_;
    QString lastError_;
    QSet<QString> refusalsTold_;
    int timeoutMs_ = 30000;
};

}  // namespace quorvane
