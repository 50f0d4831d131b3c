#include "tools/SkipListText.h"

#include "tools/Frequency.h"

namespace quorvane {

ListLines ApplySkipListText(SkipList& list, const std::string& boxText) {
    ListLines lines = SplitListLines(boxText);
    list.SetEntry(0, {});
    for (std::size_t i = 0; i < lines.lines.size(); ++i) {
        const std::string& line = lines.lines[i];
        list.SetEntry(i, HasPoint(line) ? PadFrequency(line) : line);
    }
    return lines;
}

}  // namespace quorvane
