// The harvest walk fed one drained reply per piece; a piece "c" cancels.
#include "FuzzInput.h"
#include "tools/Harvest.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto pieces = fuzz::Pieces(data, size);
    Harvest harvest(25);
    HarvestStep step = harvest.Start();
    for (const std::string& piece : pieces) {
        if (step.outcome != HarvestOutcome::Send) break;
        fuzz::Require(!step.command.empty());
        step = piece == "c" ? harvest.Cancel() : harvest.OnReply(piece);
    }
    if (step.outcome == HarvestOutcome::Cancelled || step.outcome == HarvestOutcome::Failed) {
        fuzz::Require(step.fileBytes.empty());
    }
    // After the end every call answers the end again.
    if (step.outcome != HarvestOutcome::Send) fuzz::Require(harvest.OnReply("").outcome == step.outcome);
    return 0;
}
