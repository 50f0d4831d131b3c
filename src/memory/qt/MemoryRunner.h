#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <string>

#include "memory/MemoryEngine.h"

namespace quorvane {

class ScannerLink;

// Runs a memory engine (a backup, a restore, the Memory tab's read and
// write) over the scanner's line as its user LineUser::Memory, which holds
// the line from the start to the end: the poll, keys and a harvest wait
// meanwhile.
//
// Each command goes out when the engine asks for it, with the wait for its
// reply armed; every whole reply line (split at CR, a partial line kept
// until its CR comes) goes to the engine as soon as it has arrived, so the
// next command follows at once; a wait that runs out goes to OnNoReply.
//
// At every end (finished, failed, cancelled, the line lost) the line is let
// go, and its owner forgets what is owed and sends "EPG" last when the
// engine put the scanner in Program Mode, followed by the Scan key
// ("KEY,S,P"), as the scanner leaves Program Mode on Scan Hold; so the poll starts afresh with the
// reply to "EPG". A lost line cannot take "EPG": the link keeps the scanner's
// Program Mode in mind (and a marker file in the app folder for the next
// start), and LinkRunner sends it as soon as the line is back.
class MemoryRunner : public QObject {
    Q_OBJECT
public:
    explicit MemoryRunner(ScannerLink& link, QObject* parent = nullptr);
    ~MemoryRunner() override;

    // Starts engine, which must live until Ended. Empty when it runs;
    // otherwise why it cannot: the line is closed, or someone else holds it.
    QString Start(MemoryEngine& engine);
    bool Running() const { return engine_ != nullptr; }
    // Nothing more is sent but "EPG" (when needed); Ended follows at once.
    void Cancel();
    // The line is going away (Stop: still open, so "EPG" can go; else lost).
    void Abandon(bool lineStillOpen);

signals:
    // After each step: records done and total (0: unknown yet), and the
    // commands sent per second since the start.
    void Progress(const quorvane::MemoryProgress& progress, double commandsPerSecond);
    // The run's end step; a lost line ends it as Failed, saying so.
    void Ended(const quorvane::MemoryStep& end);

private:
    void Run(const MemoryStep& step);
    void BytesArrived();
    void WaitRanOut();
    void LineLost();
    void End(const MemoryStep& end);

    ScannerLink& link_;
    MemoryEngine* engine_ = nullptr;
    bool linkGone_ = false;
    QTimer wait_;         // the wait for the reply to the command sent
    std::string buffer_;  // received bytes after the last whole line
    QElapsedTimer clock_;
};

}  // namespace quorvane
