#include "tools/QuickScan.h"

#include "link/Commands.h"
#include "base/Fields.h"
#include "tools/Frequency.h"

namespace quorvane {

std::optional<QuickScanEntry> ParseQuickScanLine(const std::string& line) {
    if (!HasPoint(line)) return std::nullopt;
    const std::vector<std::string> pieces = SplitFields(line, '.');
    const std::vector<std::string> words = SplitFields(pieces[1], ' ');
    std::string modulation = "FM";
    if (words.size() > 1) {
        if (words[1] == "nfm" || words[1] == "NFM") modulation = "NFM";
        if (words[1] == "AM" || words[1] == "am") modulation = "AM";
    }
    return QuickScanEntry{PadFrequency(pieces[0] + "." + words[0]), modulation};
}

bool IsQuickScanLine(const std::string& line) {
    const std::size_t end = line.find_first_not_of("0123456789.");
    const std::string number = line.substr(0, end);
    if (number.find_first_not_of(' ') == std::string::npos && line.find_first_not_of(' ') == std::string::npos) {
        return true;  // blank
    }
    const std::size_t point = number.find('.');
    if (point == std::string::npos || number.find('.', point + 1) != std::string::npos) return false;
    const std::size_t whole = point, fraction = number.size() - point - 1;
    if (whole < 1 || whole > 4 || fraction < 1 || fraction > 4) return false;
    if (end == std::string::npos) return true;
    // After the number: nothing but a space and one word.
    if (line[end] != ' ') return false;
    const std::string word = line.substr(end + 1);
    return !word.empty() && word.find(' ') == std::string::npos;
}

std::optional<std::size_t> FirstLineNotAFrequency(const ListLines& list) {
    for (std::size_t i = 0; i < list.lines.size(); ++i) {
        if (!IsQuickScanLine(list.lines[i])) return i;
    }
    return std::nullopt;
}

ListLines QuickScan::Toggle(const std::string& listText) {
    ListLines list = SplitListLines(listText);
    entries_.fill(std::nullopt);
    for (std::size_t i = 0; i < list.lines.size(); ++i) entries_[i] = ParseQuickScanLine(list.lines[i]);
    position_ = 0;
    running_ = !running_;
    return list;
}

std::optional<std::string> QuickScan::Tick(bool hitActive) {
    if (!running_ || hitActive) return std::nullopt;
    const std::optional<QuickScanEntry>& entry = position_ < entries_.size() ? entries_[position_] : std::nullopt;
    if (!entry) {
        position_ = 0;
        return std::nullopt;
    }
    ++position_;
    return TuneCommand(entry->digits, entry->modulation);
}

}  // namespace quorvane
