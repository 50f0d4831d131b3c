#include "link/qt/ProgramSessionRunner.h"

#include "link/qt/ScannerLink.h"

namespace quorvane {

ProgramSessionRunner::ProgramSessionRunner(ScannerLink& link, LineUser user, QObject* parent)
    : QObject(parent), link_(link), user_(user) {
    wait_.setSingleShot(true);
    wait_.setTimerType(Qt::PreciseTimer);
    connect(&wait_, &QTimer::timeout, this, &ProgramSessionRunner::WaitRanOut);
    connect(&link_, &ScannerLink::Received, this, &ProgramSessionRunner::LinesArrived);
    connect(&link_, &ScannerLink::Lost, this, [this] { Abandon(false); });
    // The window may go before the session has ended (the station first):
    // from then on nothing touches the link.
    connect(&link_, &QObject::destroyed, this, [this] {
        linkGone_ = true;
        session_ = nullptr;
        wait_.stop();
    });
}

ProgramSessionRunner::Refusal ProgramSessionRunner::Start(ProgramSession& session, int startAfterMs) {
    if (session_) return Refusal::Busy;
    if (linkGone_ || !link_.IsOpen()) return Refusal::Closed;
    if (link_.Ask(user_) != Grant::Go) return Refusal::Busy;
    session_ = &session;
    clock_.invalidate();
    if (startAfterMs > 0) {
        starting_ = true;
        wait_.start(startAfterMs);
    } else {
        Begin();
    }
    return Refusal::None;
}

void ProgramSessionRunner::Begin() {
    starting_ = false;
    // What came in before is not an answer to this session.
    link_.TakeReceived();
    clock_.start();
    Run(session_->Start());
}

void ProgramSessionRunner::Run(const SessionStep& given) {
    // The session's step may change under the signals: work on a copy.
    const SessionStep step = given;
    const qint64 ms = clock_.isValid() ? clock_.elapsed() : 0;
    emit Stepped(step, ms, ms > 0 ? 1000.0 * session_->CommandsSent() / static_cast<double>(ms) : 0.0);
    switch (step.outcome) {
        case SessionOutcome::Send:
            // A command the line does not take (the backlog is full) is sent
            // again when its wait runs out, as a lost reply is.
            wait_.start(step.waitMs);
            link_.Send(user_, step.command);
            return;
        case SessionOutcome::Wait:
            return;  // the wait goes on from the send
        case SessionOutcome::Finished:
        case SessionOutcome::Failed:
        case SessionOutcome::Cancelled:
            Finish(step, End::Session);
            return;
    }
}

void ProgramSessionRunner::LinesArrived() {
    if (!session_ || starting_) return;
    for (const std::string& line : link_.TakeLines()) {
        if (!session_) return;
        Run(session_->OnReplyLine(line));
    }
}

void ProgramSessionRunner::WaitRanOut() {
    if (!session_) return;
    if (starting_) {
        Begin();
        return;
    }
    // A reply that is there but not yet taken in is no missing one.
    LinesArrived();
    if (session_ && !wait_.isActive()) Run(session_->OnNoReply());
}

void ProgramSessionRunner::Cancel() {
    if (session_) Finish(session_->Cancel(), End::Session);
}

void ProgramSessionRunner::Abandon(bool lineStillOpen) {
    if (session_) Finish(session_->Cancel(), lineStillOpen ? End::Abandoned : End::LineLost);
}

void ProgramSessionRunner::Release() {
    if (!linkGone_) link_.Release(user_);
}

void ProgramSessionRunner::Finish(const SessionStep& end, End how) {
    const SessionStep step = end;
    session_ = nullptr;
    starting_ = false;
    wait_.stop();
    // The line's owner leaves Program Mode as it lets go; a finished session
    // may keep it a while longer.
    if (!(keepAfterFinish_ && how == End::Session && step.outcome == SessionOutcome::Finished)) Release();
    emit Ended(step, how);
}

}  // namespace quorvane
