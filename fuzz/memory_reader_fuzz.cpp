// The backup's reader fed one reply line per piece; a piece "t" is a wait
// that ran out, "c" a cancel. Whatever the replies, every step is a command
// to send or an end, an end after "PRG" says to send "EPG", and a finished
// read is a memory file that reads back to the same settings.
#include "FuzzInput.h"
#include "memory/MemoryCompare.h"
#include "memory/MemoryFile.h"
#include "memory/MemoryReader.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto pieces = fuzz::Pieces(data, size);
    MemoryReader reader;
    MemoryStep step = reader.Start();
    std::string sent = step.command;
    for (const std::string& piece : pieces) {
        if (step.outcome != MemoryOutcome::Send && step.outcome != MemoryOutcome::Wait) break;
        fuzz::Require(!step.command.empty() && step.waitMs > 0);
        step = piece == "t" ? reader.OnNoReply() : piece == "c" ? reader.Cancel() : reader.OnReplyLine(piece);
        if (step.outcome == MemoryOutcome::Wait) fuzz::Require(step.command == sent);
        if (step.outcome == MemoryOutcome::Send) sent = step.command;
    }
    if (step.outcome == MemoryOutcome::Send || step.outcome == MemoryOutcome::Wait) step = reader.Cancel();
    fuzz::Require(step.leaveProgramming);
    fuzz::Require(!step.message.empty());
    // After the end every call answers the end again.
    fuzz::Require(reader.OnReplyLine("PRG,OK").outcome == step.outcome);
    if (step.outcome == MemoryOutcome::Finished) {
        std::string problem;
        const std::optional<ScannerMemory> file = ReadMemoryJson(WriteMemoryJson(reader.Result()), "b.json", &problem);
        const ScannerMemory read = WithoutIndexes(reader.Result());
        fuzz::Require(file && !FirstDifference(read, *file) && !FirstDifference(*file, read));
    }
    return 0;
}
