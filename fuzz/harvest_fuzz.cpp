// The harvest walk fed the bytes of one wait per piece, their whole lines
// one by one as the line's ledger cuts them, then the wait's end; a piece
// "c" cancels.
#include "FuzzInput.h"
#include "link/LineLedger.h"
#include "tools/Harvest.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto pieces = fuzz::Pieces(data, size);
    Harvest harvest(25);
    LineLedger ledger;
    HarvestStep step = harvest.Start();
    for (const std::string& piece : pieces) {
        if (step.outcome != HarvestOutcome::Send) break;
        fuzz::Require(!step.command.empty());
        if (piece == "c") {
            step = harvest.Cancel();
            continue;
        }
        ledger.Received(piece, 0);
        for (const std::string& line : ledger.TakeLines()) {
            // At a fixed delay no line ends the wait.
            fuzz::Require(harvest.OnReplyLine(line).outcome == HarvestOutcome::Wait);
        }
        step = harvest.OnNoReply();
    }
    if (step.outcome == HarvestOutcome::Cancelled || step.outcome == HarvestOutcome::Failed) {
        fuzz::Require(step.fileBytes.empty());
    }
    // After the end every call answers the end again.
    if (step.outcome != HarvestOutcome::Send) {
        fuzz::Require(harvest.OnNoReply().outcome == step.outcome);
        fuzz::Require(harvest.OnReplyLine("SIH,1").outcome == step.outcome);
    }
    return 0;
}
