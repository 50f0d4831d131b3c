#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "link/LineGrant.h"
#include "link/ProgramSession.h"

namespace quorvane {

class ScannerLink;

// Runs a Program Mode session (ProgramSession) over the scanner's line as
// one user of it (the harvest, memory programming), which holds the line
// from the start to the end: the poll, keys and the other session wait
// meanwhile.
//
// Each command goes out when the session asks for it, with the wait for its
// reply armed; every whole reply line goes to the session as soon as it has
// arrived, so the next command may follow at once; a wait that runs out
// goes to OnNoReply, after the lines already on the line have been handed
// over.
//
// At every end (finished, failed, cancelled, abandoned, the line lost) the
// line is let go, and its owner forgets what is owed and sends "EPG" last
// when the session put the scanner in Program Mode (ScannerLink::Release).
// A lost line cannot take "EPG": the link keeps the scanner's Program Mode
// in mind and sends it as soon as the line is back.
class ProgramSessionRunner : public QObject {
    Q_OBJECT
public:
    enum class Refusal { None, Closed, Busy };
    // How a session ended.
    enum class End {
        Session,    // its own end step: finished, failed, or cancelled by Cancel
        Abandoned,  // the link stops with the line still open (cancelled)
        LineLost,   // the line went away (cancelled; nothing more was sent)
    };

    ProgramSessionRunner(ScannerLink& link, LineUser user, QObject* parent = nullptr);

    // Takes the line and starts session, which must live until Ended, after
    // a pause of startAfterMs with the line held. None when it runs.
    Refusal Start(ProgramSession& session, int startAfterMs = 0);
    bool Running() const { return session_ != nullptr; }
    // A Finished session keeps the line until Release (the user reads the
    // news first); other ends let go of it at once.
    void KeepLineAfterFinish(bool keep) { keepAfterFinish_ = keep; }
    void Release();
    // Nothing more is sent but "EPG" (when needed); Ended follows at once.
    void Cancel();
    // The line is going away: still open (Stop: "EPG" can go) or lost.
    void Abandon(bool lineStillOpen);

signals:
    // After each step, with the time since the first step and the commands
    // sent per second meanwhile.
    void Stepped(const quorvane::SessionStep& step, qint64 elapsedMs, double commandsPerSecond);
    // The session's end step (the session's Current()) and how it came.
    void Ended(const quorvane::SessionStep& end, quorvane::ProgramSessionRunner::End how);

private:
    void Begin();
    void Run(const SessionStep& step);
    void LinesArrived();
    void WaitRanOut();
    void Finish(const SessionStep& end, End how);

    ScannerLink& link_;
    LineUser user_;
    ProgramSession* session_ = nullptr;
    bool starting_ = false;  // the pause before the first step
    bool keepAfterFinish_ = false;
    bool linkGone_ = false;
    QTimer wait_;  // the pause before the start, then the wait for each reply
    QElapsedTimer clock_;
};

}  // namespace quorvane
