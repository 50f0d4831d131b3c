#include "memory/qt/MemoryRunner.h"

#include "link/Commands.h"
#include "link/qt/ScannerLink.h"

namespace quorvane {
namespace {
const char* kNotConnected = "The scanner is not connected: choose its port and press Run on the Settings tab.";
const char* kBusy = "Scanner busy: the hit intelligence update has the line; try again when it has finished.";
const char* kLost = "The line to the scanner was lost. ";
const char* kEpgLater = " The scanner is told to leave Program Mode as soon as it is reached again.";
}  // namespace

MemoryRunner::MemoryRunner(ScannerLink& link, QObject* parent) : QObject(parent), link_(link) {
    wait_.setSingleShot(true);
    wait_.setTimerType(Qt::PreciseTimer);
    connect(&wait_, &QTimer::timeout, this, &MemoryRunner::WaitRanOut);
    connect(&link_, &ScannerLink::Received, this, &MemoryRunner::BytesArrived);
    connect(&link_, &ScannerLink::Lost, this, &MemoryRunner::LineLost);
    // The window may go before the run has ended (the station first): from
    // then on nothing touches the link.
    connect(&link_, &QObject::destroyed, this, [this] {
        linkGone_ = true;
        engine_ = nullptr;
        wait_.stop();
    });
}

// The link may be gone already: the station ends a run first (Stopping).
MemoryRunner::~MemoryRunner() = default;

QString MemoryRunner::Start(MemoryEngine& engine) {
    if (engine_) return "Programming is under way.";
    if (linkGone_ || !link_.IsOpen()) return kNotConnected;
    if (link_.Ask(LineUser::Memory) != Grant::Go) return kBusy;
    // What came in before is not an answer to this run.
    link_.TakeReceived();
    buffer_.clear();
    engine_ = &engine;
    clock_.start();
    Run(engine.Start());
    return {};
}

void MemoryRunner::Cancel() {
    if (engine_) End(engine_->Cancel());
}

void MemoryRunner::Abandon(bool lineStillOpen) {
    if (lineStillOpen) Cancel();
    else LineLost();
}

void MemoryRunner::Run(const MemoryStep& step) {
    const qint64 ms = clock_.elapsed();
    emit Progress(step.progress, ms > 0 ? 1000.0 * step.progress.commands / static_cast<double>(ms) : 0.0);
    switch (step.outcome) {
        case MemoryOutcome::Send:
            // A command the line does not take (the backlog is full) is sent
            // again when its wait runs out, as a lost reply is.
            wait_.start(step.waitMs);
            link_.Send(LineUser::Memory, step.command);
            return;
        case MemoryOutcome::Wait:
            return;  // the wait goes on from the send
        case MemoryOutcome::Finished:
        case MemoryOutcome::Failed:
        case MemoryOutcome::Cancelled:
            End(step);
            return;
    }
}

void MemoryRunner::BytesArrived() {
    if (!engine_) return;
    buffer_ += link_.TakeReceived();
    for (std::size_t end = buffer_.find('\r'); engine_ && end != std::string::npos; end = buffer_.find('\r')) {
        std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        line.erase(0, line.find_first_not_of('\n'));  // the LF of a CR LF line end
        if (!line.empty()) Run(engine_->OnReply(line));
    }
}

void MemoryRunner::WaitRanOut() {
    if (engine_) Run(engine_->OnNoReply());
}

void MemoryRunner::LineLost() {
    if (!engine_) return;
    MemoryStep end = engine_->Cancel();
    end.outcome = MemoryOutcome::Failed;
    end.message = kLost + end.message + (end.leaveProgramming ? kEpgLater : "");
    End(end);
}

void MemoryRunner::End(const MemoryStep& end) {
    engine_ = nullptr;
    wait_.stop();
    buffer_.clear();
    // The line's owner leaves Program Mode (EPG, then Scan) as it lets go.
    link_.Release(LineUser::Memory);
    emit Ended(end);
}

}  // namespace quorvane
