#include "tools/ListLines.h"

#include "base/Fields.h"

namespace quorvane {

ListLines SplitListLines(std::string_view text) {
    ListLines list;
    for (std::string& line : SplitFields(text, '\n')) {
        ++list.total;
        if (list.lines.size() == kToolListEntries) continue;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        list.lines.push_back(std::move(line));
    }
    return list;
}

std::string LinesUsedNote(const ListLines& list) {
    if (list.total <= list.lines.size()) return {};
    return std::to_string(list.lines.size()) + " of " + std::to_string(list.total) + " lines used";
}

}  // namespace quorvane
