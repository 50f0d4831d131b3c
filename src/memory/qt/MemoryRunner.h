#pragma once
#include <QObject>
#include <QString>

#include "link/qt/ProgramSessionRunner.h"
#include "memory/MemoryEngine.h"

namespace quorvane {

class ScannerLink;

// Runs a memory engine (a backup, a restore, the Memory tab's read and
// write) over the scanner's line as its user LineUser::Memory, which holds
// the line from the start to the end: the poll, keys and a harvest wait
// meanwhile (ProgramSessionRunner).
//
// At every end (finished, failed, cancelled, the line lost) the line is let
// go, and its owner sends "EPG" last when the engine put the scanner in
// Program Mode, followed by the Scan key ("KEY,S,P"), as the scanner leaves
// Program Mode on Scan Hold; so the poll starts afresh with the reply to
// "EPG". A lost line cannot take "EPG": the link keeps the scanner's Program
// Mode in mind (and a marker file in the app folder for the next start), and
// LinkRunner sends it as soon as the line is back.
class MemoryRunner : public QObject {
    Q_OBJECT
public:
    explicit MemoryRunner(ScannerLink& link, QObject* parent = nullptr);

    // Starts engine, which must live until Ended. Empty when it runs;
    // otherwise why it cannot: the line is closed, or someone else holds it.
    QString Start(MemoryEngine& engine);
    bool Running() const { return runner_.Running(); }
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
    void End(ProgramSessionRunner::End how);

    ProgramSessionRunner runner_;
    MemoryEngine* engine_ = nullptr;  // the engine runner_ runs
};

}  // namespace quorvane
