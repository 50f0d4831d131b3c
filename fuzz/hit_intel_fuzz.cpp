// hit_intel.txt from any bytes, then a hit ending on each stored frequency
// (and on the first piece of the input) looked up in it.
#include "FuzzInput.h"
#include "monitor/EndHit.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    HitIntelTable table;
    table.LoadLines(bytes);
    std::vector<std::string> frequencies = {fuzz::Pieces(data, size).front()};
    for (const std::string& entry : table.Entries()) {
        if (frequencies.size() > 64) break;
        if (!entry.empty()) frequencies.push_back(entry.substr(0, entry.find('\t')));
    }
    for (const std::string& frequency : frequencies) {
        HitRecord hit;
        hit.HitActive = true;
        hit.FreqShown = " 154.4300";
        TickValues values;
        values.RawFrequency = frequency;
        const HitEndContext context{table, "110000000000000", false, "2:51:20 PM", "01-02-2027"};
        const HitEnded ended = EndHit(hit, values, context);
        if (ended.LogLine) {
            const std::string& line = *ended.LogLine;
            fuzz::Require(line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0);
        }
    }
    return 0;
}
