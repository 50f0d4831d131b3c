#include "memory/MemoryEngine.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "link/Commands.h"
#include "base/Fields.h"
#include "memory/MemoryCommands.h"
#include "memory/MemoryValues.h"

namespace quorvane {

std::string ProgressText(const MemoryProgress& progress, double commandsPerSecond) {
    if (progress.stage == MemoryStage::Clearing) return "Clearing the scanner's memory (about 10 s)";
    std::string text = progress.stage == MemoryStage::Writing    ? "Writing: "
                       : progress.stage == MemoryStage::Checking ? "Reading back: "
                                                                 : "Reading: ";
    text += std::to_string(progress.recordsDone);
    if (progress.recordsTotal) text += "/" + std::to_string(progress.recordsTotal);
    text += progress.stage == MemoryStage::Writing ? " changes" : " records";
    char rate[40];
    std::snprintf(rate, sizeof rate, ", %.1f commands/s", commandsPerSecond);
    return text + rate;
}

const MemoryStep& MemoryEngine::Start() {
    if (state_ != State::Idle) return last_;
    return Keep(Begin());
}

const MemoryStep& MemoryEngine::OnReplyLine(const std::string& line) { return Keep(TakeLine(line)); }

const MemoryStep& MemoryEngine::OnNoReply() { return Keep(TakeNoReply()); }

const MemoryStep& MemoryEngine::Keep(MemoryStep step) {
    last_ = std::move(step);
    return last_;
}

bool MemoryEngine::Running() const { return state_ == State::Waiting; }

MemoryStep MemoryEngine::TakeLine(const std::string& line) {
    if (state_ != State::Waiting) return last_;
    std::string text = line;
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
    const Reply reply = SplitFields(text, ',');
    if (const ReplyError error = ErrorOf(reply); error != ReplyError::None) {
        // "<word>,NG" of another word answers an earlier command, late.
        if (reply.size() == 2 && reply[0] != Word()) return PassOver();
        // A garbled or overrun command was not taken: a read, or a set (which
        // gives the same result twice), goes again; a make, delete or clear not.
        const bool lineFault = error == ReplyError::Fer || error == ReplyError::Orer;
        if (lineFault && IsMakeOrDeleteCommand(command_)) return ChangeUnanswered();
        const bool repeatable = !IsMakeOrDeleteCommand(command_) && command_ != kClearMemory;
        if (lineFault && repeatable && tries_ < kMostSends) {
            ++tries_;
            return Ask();
        }
        // A delete sent again, refused: the first send was taken and its answer
        // lost, so the record is gone as wanted (the read-back checks it).
        const std::string word = Word();
        if (error == ReplyError::Ng && tries_ > 1 && reply.size() == 2 &&
            (word == "DSY" || word == "DGR" || word == "DCH"))
            return Answer({word, "OK"});
        if (command_ == kEnterProgramming && error == ReplyError::Ng) {
            return Fail("The scanner refused Program Mode (PRG,NG): leave its menu, direct entry or quick save, "
                        "then try again.");
        }
        return Fail("The scanner answered " + ScannerText(text) + " to " + ScannerText(command_) + ": " +
                    ErrorMeaning(error) + ".");
    }
    return Answer(reply);
}

MemoryStep MemoryEngine::TakeNoReply() {
    if (state_ != State::Waiting) return last_;
    if (IsMakeOrDeleteCommand(command_)) return ChangeUnanswered();
    if (tries_ >= kMostSends) {
        return Fail("No usable reply to " + ScannerText(command_) + " after " + std::to_string(kMostSends) +
                    " tries" + (unusable_.empty() ? "" : " (the last reply: " + unusable_ + ")") +
                    ". Check the cable and the port speed.");
    }
    ++tries_;
    return Ask();
}

MemoryStep MemoryEngine::ChangeUnanswered() {
    return Fail("No answer to " + ScannerText(command_) + ": whether the scanner did it is not known.");
}

const MemoryStep& MemoryEngine::Cancel() {
    if (state_ == State::Ended) return last_;
    return Keep(End(MemoryOutcome::Cancelled, CancelMessage()));
}

MemoryStep MemoryEngine::Request(std::string command, int waitMs, int sends) {
    state_ = State::Waiting;
    command_ = std::move(command);
    waitMs_ = IsMakeOrDeleteCommand(command_) ? std::max(waitMs, kChangeWaitMs) : waitMs;
    tries_ = sends;
    unusable_.clear();
    return Ask();
}

MemoryStep MemoryEngine::PassOver(std::string why) {
    if (!why.empty()) unusable_ = std::move(why);
    MemoryStep wait = last_;
    wait.outcome = MemoryOutcome::Wait;
    wait.progress = progress_;
    return wait;
}

MemoryStep MemoryEngine::Finish(std::string message) { return End(MemoryOutcome::Finished, std::move(message)); }

MemoryStep MemoryEngine::Fail(std::string message) { return End(MemoryOutcome::Failed, std::move(message)); }

std::string MemoryEngine::Word() const { return command_.substr(0, command_.find(',')); }

MemoryStep MemoryEngine::Adopt(MemoryStep inner) {
    if (inner.outcome == MemoryOutcome::Send || inner.outcome == MemoryOutcome::Wait) {
        // The inner engine's command is this engine's: a late reply and the
        // message of a failure name it.
        state_ = State::Waiting;
        command_ = inner.command;
        if (inner.outcome == MemoryOutcome::Send) {
            ++progress_.commands;
            waitMs_ = inner.waitMs;
            tries_ = 1;
            unusable_.clear();
        }
    }
    inner.progress = progress_;
    last_ = inner;
    return inner;
}

MemoryStep MemoryEngine::Ask() {
    ++progress_.commands;
    NoteSent(command_);
    last_ = MemoryStep{};
    last_.command = command_;
    last_.waitMs = waitMs_;
    last_.progress = progress_;
    return last_;
}

MemoryStep MemoryEngine::End(MemoryOutcome outcome, std::string message) {
    state_ = State::Ended;
    last_ = MemoryStep{};
    MakeEnd(last_, outcome, std::move(message));
    last_.progress = progress_;
    return last_;
}

}  // namespace quorvane
