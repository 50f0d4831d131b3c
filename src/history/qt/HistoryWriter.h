#pragma once
#include <QObject>
#include <QString>
#include <deque>

#include "history/qt/HistoryStore.h"

class QTimer;

namespace quorvane {

// Writes hits into the local history on a thread of its own, so a slow or
// failing disk never holds up the poll. A hit the file does not take is kept
// and tried again with the next hit, every 10 s, and once more at exit.
class HistoryWriter : public QObject {
    Q_OBJECT
public:
    struct Item {
        QString Path;  // the history file as it was when the hit ended
        HistoryRun Run;
        HistoryHit Hit;
        bool ForServer = false;
    };
    HistoryWriter();

    // These run on the writer's thread.
    void Open(const QString& path);
    void Write(Item item);
    // One more go for the hits kept back, waiting longer for another
    // program's write than usual. True when none is left.
    bool FinalFlush();
    size_t Pending() const { return pending_.size(); }

signals:
    void Opened(const QString& path);
    void Stored(const QString& path, bool forServer);
    // note: a few words for Text3; message: for a message box (may be empty).
    void Problem(const QString& note, const QString& message);

private:
    bool EnsureOpen(const QString& path);
    void Drain();
    void Report(bool worked);

    HistoryStore store_;
    std::deque<Item> pending_;
    QTimer* retry_ = nullptr;
    bool failureTold_ = false;
};

}  // namespace quorvane
