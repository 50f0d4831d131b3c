#pragma once
#include <QObject>
#include <QString>

#include "history/ServerRules.h"
#include "history/qt/HistoryStore.h"
#include "history/qt/ServerStore.h"

class QTimer;

namespace quorvane {

// Sends the hits that wait in the local history to the history server, on a
// thread of its own with its own connections: in the order they were
// recorded, many to a transaction, each marked sent once the server has
// committed it. While the server cannot be reached it tries again every
// 10 s (a wrong password or a missing database every minute).
class HistorySender : public QObject {
    Q_OBJECT
public:
    explicit HistorySender(HistoryServerSettings settings);

    // These run on the sender's thread.
    // Hits wait in the history at localPath: send them, unless a retry is due later.
    void Kick(const QString& localPath);
    // Sends everything that waits now and returns how many were sent (for
    // `--import-logs`, which has no event loop to wait in); false in *reached
    // when the server could not take them.
    qint64 SendAll(const QString& localPath, bool* reached);
    void Disconnect();
    // The server's words on the latest failure.
    const QString& LastDetail() const { return lastDetail_; }
    QString ServerName() const { return server_.Name(); }

signals:
    // note: a few words for Text3; message: for a message box (may be empty).
    void Problem(const QString& note, const QString& message);
    // The server takes hits (away false) or not; waiting: hits not yet sent.
    void State(bool away, qint64 waiting);

private:
    enum class Turn { More, Done, Wait };
    Turn SendBatch();
    void Drain();
    bool OpenLocal();

    ServerStore server_;
    HistoryStore local_;
    QString path_;
    ServerTelling telling_;
    SendQueue queue_;
    QTimer* retry_ = nullptr;
    bool away_ = false;
    bool draining_ = false;  // a send is under way; the next follows it
    qint64 sent_ = 0;
    QString lastDetail_;
};

}  // namespace quorvane
