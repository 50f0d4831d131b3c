#include "memory/qt/MemoryRunner.h"

namespace quorvane {
namespace {
const char* kNotConnected = "The scanner is not connected: choose its port and press Run on the Settings tab.";
const char* kBusy = "Scanner busy: the hit intelligence update has the line; try again when it has finished.";
const char* kLost = "The line to the scanner was lost. ";
const char* kEpgLater = " The scanner is told to leave Program Mode as soon as it is reached again.";
}  // namespace

MemoryRunner::MemoryRunner(ScannerLink& link, QObject* parent)
    : QObject(parent), runner_(link, LineUser::Memory, this) {
    connect(&runner_, &ProgramSessionRunner::Stepped, this, [this](const SessionStep&, qint64, double perSecond) {
        if (engine_) emit Progress(engine_->Current().progress, perSecond);
    });
    connect(&runner_, &ProgramSessionRunner::Ended, this,
            [this](const SessionStep&, ProgramSessionRunner::End how) { End(how); });
}

QString MemoryRunner::Start(MemoryEngine& engine) {
    if (Running()) return "Programming is under way.";
    engine_ = &engine;
    switch (runner_.Start(engine)) {
        case ProgramSessionRunner::Refusal::None:
            return {};
        case ProgramSessionRunner::Refusal::Closed:
            engine_ = nullptr;
            return kNotConnected;
        case ProgramSessionRunner::Refusal::Busy:
            break;
    }
    engine_ = nullptr;
    return kBusy;
}

void MemoryRunner::Cancel() { runner_.Cancel(); }

void MemoryRunner::Abandon(bool lineStillOpen) {
    // Stop with the line open ends the run as a cancel does.
    if (lineStillOpen) runner_.Cancel();
    else runner_.Abandon(false);
}

void MemoryRunner::End(ProgramSessionRunner::End how) {
    if (!engine_) return;
    MemoryStep end = engine_->Current();
    engine_ = nullptr;
    if (how == ProgramSessionRunner::End::LineLost) {
        end.outcome = MemoryOutcome::Failed;
        end.message = kLost + end.message + (end.leaveProgramming ? kEpgLater : "");
    }
    emit Ended(end);
}

}  // namespace quorvane
