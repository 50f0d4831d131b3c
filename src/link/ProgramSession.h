#pragma once
#include <string>

namespace quorvane {

// A Program Mode session: work on the scanner's memory that holds the line
// from its start to its end (the hit-intelligence harvest, memory
// programming). A session is a state machine with no I/O and no waiting;
// ProgramSessionRunner drives it over the line.
//
// Each step asks for one command to be sent and its reply awaited for at
// most `waitMs`, says to keep waiting for the reply to the command already
// sent, or ends the session. The driver hands every whole reply line
// (without its CR) to OnReplyLine as soon as it has come in, and calls
// OnNoReply when the wait has run out. The session alone decides what a
// line means: it may end the wait at once (the reply is there) or wait the
// whole time out (a fixed pace).
//
// Every end (finished, failed, cancelled) says whether "PRG" went out in
// the session (leaveProgramming): the scanner is then in Program Mode and
// the line's owner sends "EPG" as the session lets go of the line.
enum class SessionOutcome {
    Send,       // send `command`, wait at most `waitMs` for its reply
    Wait,       // the line was not the awaited reply: keep waiting
    Finished,   // done; `message` says what was done
    Failed,     // `message` says what went wrong
    Cancelled,  // `message` says what was left undone
};

struct SessionStep {
    SessionOutcome outcome = SessionOutcome::Send;
    std::string command;  // Send, Wait: the command whose reply is awaited
    int waitMs = 0;       // Send, Wait: the longest wait for it, counted from the send
    std::string message;  // Finished, Failed, Cancelled
    bool leaveProgramming = false;  // ends: "PRG" went out, so "EPG" goes now
};

// How often one command is sent without a usable reply before the session
// gives up on it.
inline constexpr int kMostSends = 5;

class ProgramSession {
public:
    virtual ~ProgramSession() = default;

    // The first step. Called again, the current step.
    virtual const SessionStep& Start() = 0;
    // One whole reply line. Before the start it ends the session as failed;
    // after the end it returns the end step again.
    virtual const SessionStep& OnReplyLine(const std::string& line) = 0;
    // The wait of the last Send step has run out.
    virtual const SessionStep& OnNoReply() = 0;
    // Ends the session: nothing more is sent. After the end, the end step.
    virtual const SessionStep& Cancel() = 0;
    // The step returned last.
    virtual const SessionStep& Current() const = 0;
    // Commands sent so far, repeats included.
    virtual int CommandsSent() const = 0;

protected:
    // Notes a command going out: after "PRG" the scanner is in Program Mode
    // for the rest of the session.
    void NoteSent(const std::string& command);
    bool ProgramModeEntered() const { return programMode_; }
    // Makes step the end step of the session: its outcome and message, and
    // whether the scanner must be told to leave Program Mode.
    void MakeEnd(SessionStep& step, SessionOutcome outcome, std::string message) const;

private:
    bool programMode_ = false;
};

}  // namespace quorvane
