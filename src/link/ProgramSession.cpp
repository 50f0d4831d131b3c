#include "link/ProgramSession.h"

#include <utility>

#include "link/Commands.h"

namespace quorvane {

void ProgramSession::NoteSent(const std::string& command) {
    if (command == kEnterProgramming) programMode_ = true;
}

void ProgramSession::MakeEnd(SessionStep& step, SessionOutcome outcome, std::string message) const {
    step.outcome = outcome;
    step.command.clear();
    step.waitMs = 0;
    step.message = std::move(message);
    step.leaveProgramming = programMode_;
}

}  // namespace quorvane
