// The memory file and the channel CSV from any bytes. A memory file that
// reads writes back to the same memory; a CSV import into a valid memory
// leaves a memory the validator takes as it is.
#include "FuzzInput.h"
#include "memory/ChannelCsv.h"
#include "memory/MemoryFile.h"
#include "memory/MemoryValidation.h"

using namespace quorvane;

namespace {

// A conventional system with one group of one channel: where CSV rows go.
ScannerMemory Into() {
    ScannerMemory memory{kScannerModel, "", {}};
    System system;
    system.type = kConventionalType;
    system.fields[system_field::Name] = "County";
    Group group;
    group.fields[group_field::Name] = "Fire";
    Channel channel;
    channel.fields[channel_field::Name] = "Disp";
    channel.fields[channel_field::Frequency] = "01544300";
    group.channels.push_back(channel);
    system.groups.push_back(group);
    memory.systems.push_back(system);
    return memory;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string problem;
    if (const std::optional<ScannerMemory> memory = ReadMemoryJson(text, "f.json", &problem)) {
        ValidateMemory(*memory, "f.json");
        const std::optional<ScannerMemory> again = ReadMemoryJson(WriteMemoryJson(*memory), "f.json", &problem);
        fuzz::Require(again && *again == *memory);
    } else {
        fuzz::Require(problem.rfind("f.json: ", 0) == 0);
    }

    static const ScannerMemory into = Into();
    if (const std::optional<ChannelImport> imported = ReadChannelsCsv(into, text, "f.csv", GroupAt{0, 0}, &problem)) {
        fuzz::Require(ValidateMemory(imported->memory, "f.csv").empty());
        WriteChannelsCsv(imported->memory);
    } else {
        fuzz::Require(problem.rfind("f.csv: line ", 0) == 0);
    }
    return 0;
}
