#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "link/ProgramSession.h"

namespace quorvane {

// The common run of the memory engines (read, write, plan): Program Mode
// sessions (ProgramSession) with no I/O and no waiting, run over the line
// the way the harvest is.
//
// Each step either asks for one command to be sent and its reply awaited,
// says to keep waiting for the reply to the command already sent, or ends
// the run. The caller hands every whole reply line (without its CR) to
// OnReplyLine as soon as it has come in, and calls OnNoReply when the wait
// has run out. The next command goes out as soon as its predecessor's reply
// is complete: the line's speed is the only pace.
//
// A reply line that is not the answer to the command waiting (a late answer
// to an earlier command, sent again after its wait ran out) is passed over:
// the step is Wait. A line that has the command's word but cannot be used
// (too few fields, a field of the wrong form) is passed over too, and its
// reason kept for the message if no usable one comes. An error line is taken
// for the command it answers: "<word>,NG" of another word is a late answer
// and passed over; "FER" or "ORER" to a read or a set sends it again (it was
// not taken, and either gives the same result twice); a delete sent again and
// answered "<word>,NG" was done by its first send, whose answer was lost (the
// read-back checks it); any other "ERR", "NG", "FER" or "ORER" ends the run
// as failed. A read or set whose wait runs out is sent again, up to
// kMostSends sends in all. A make or delete (IsMakeOrDeleteCommand) is
// never sent again blindly: the scanner may be slow to answer it and a
// second one is not harmless, so it waits kChangeWaitMs, and when that runs
// out (or the line answers "FER" or "ORER") the engine's ChangeUnanswered
// decides, e.g. by reading the list back to see whether it happened.
//
// Every end says whether "PRG" has been sent (leaveProgramming): "EPG" then
// goes last, after a success, a failure or a cancel alike. Finished: the
// engine holds its result; Failed: `message` says what went wrong, in one
// line.
using MemoryOutcome = SessionOutcome;

// What a run is doing: its counts are of that stage alone.
enum class MemoryStage {
    Reading,   // records read
    Clearing,  // "CLR" under way (no counts)
    Writing,   // changes sent: records made, set, deleted, and settings
    Checking,  // records read back after a write
};

struct MemoryProgress {
    MemoryStage stage = MemoryStage::Reading;
    std::size_t recordsDone = 0;
    std::size_t recordsTotal = 0;  // 0 while unknown (a read of the whole memory)
    int commands = 0;              // commands sent, repeats included
};

// One line for the progress of a run, e.g. "Writing: 13/40 changes, 25.0
// commands/s" or "Clearing the scanner's memory (about 10 s)".
std::string ProgressText(const MemoryProgress& progress, double commandsPerSecond);

struct MemoryStep : SessionStep {
    MemoryProgress progress;
};

// The longest wait for an ordinary reply (as the harvest's "Auto" pace), and
// for "CLR", which takes the scanner about 10 s.
inline constexpr int kMemoryReplyWaitMs = 1000;
inline constexpr int kClearWaitMs = 20000;

class MemoryEngine : public ProgramSession {
public:
    // The first step. Called again, returns the current step.
    const MemoryStep& Start() override;
    // One whole reply line (a trailing CR or LF is ignored). Before Start or
    // after the end it returns the current step.
    const MemoryStep& OnReplyLine(const std::string& line) override;
    // The wait of the last Send step ran out: the same command again, or
    // Failed after kMostSends sends.
    const MemoryStep& OnNoReply() override;
    // Ends the run: nothing more is sent. After the end, the end step again.
    const MemoryStep& Cancel() override;
    const MemoryStep& Current() const override { return last_; }
    int CommandsSent() const override { return progress_.commands; }

    bool Running() const;
    bool Ended() const { return state_ == State::Ended; }
    const MemoryProgress& Progress() const { return progress_; }

protected:
    using Reply = std::vector<std::string>;

    // The first request.
    virtual MemoryStep Begin() = 0;
    // A line that is not an error, while Command() waits for its answer.
    virtual MemoryStep Answer(const Reply& reply) = 0;
    // The message of a cancel (what was left as it was).
    virtual std::string CancelMessage() const = 0;
    // A make or delete (Command()) got no usable answer in its wait, or the
    // line answered "FER"/"ORER" to it. This one ends the run as failed.
    virtual MemoryStep ChangeUnanswered();

    // `sends`: how many times the command has gone out with this one (a
    // change sent again after a check counts its first send).
    MemoryStep Request(std::string command, int waitMs = kMemoryReplyWaitMs, int sends = 1);
    // Not the answer: wait on; `why` (if any) is kept for a later failure.
    MemoryStep PassOver(std::string why = {});
    MemoryStep Finish(std::string message);
    MemoryStep Fail(std::string message);

    const std::string& Command() const { return command_; }
    // The command's word ("CIN" of "CIN,12345").
    std::string Word() const;
    MemoryProgress& Counts() { return progress_; }
    // Steps of an engine run inside this one (a read-back) carry these counts.
    MemoryStep Adopt(MemoryStep inner);

private:
    enum class State { Idle, Waiting, Ended };
    MemoryStep TakeLine(const std::string& line);
    MemoryStep TakeNoReply();
    // Keeps step as the current one.
    const MemoryStep& Keep(MemoryStep step);
    // The step that sends command_ (again): one more command counted.
    MemoryStep Ask();
    MemoryStep End(MemoryOutcome outcome, std::string message);

    State state_ = State::Idle;
    std::string command_;
    int waitMs_ = 0;
    int tries_ = 0;
    std::string unusable_;      // why the last line with the command's word was passed over
    MemoryProgress progress_;
    MemoryStep last_;
};

}  // namespace quorvane
