#include "tools/Frequency.h"

#include "link/Commands.h"
#include "base/Fields.h"

namespace quorvane {

namespace {
constexpr std::string::size_type kPaddedWidth = 4;
}

std::string PadFrequency(const std::string& text) {
    const std::vector<std::string> pieces = SplitFields(text, '.');
    std::string whole = pieces[0];
    std::string fraction = pieces.size() > 1 ? pieces[1] : std::string();
    if (whole.size() < kPaddedWidth) whole.insert(0, kPaddedWidth - whole.size(), '0');
    if (fraction.size() < kPaddedWidth) fraction.append(kPaddedWidth - fraction.size(), '0');
    return whole + fraction;
}

bool HasPoint(const std::string& text) { return text.find('.') != std::string::npos; }

std::string ModulationWord(int listIndex) {
    static const char* const kWords[] = {"FM", "NFM", "AM"};
    return listIndex >= 0 && listIndex < 3 ? kWords[listIndex] : "";
}

std::optional<std::string> DirectTuneCommand(const std::string& typed, int modulationIndex) {
    if (!HasPoint(typed)) return std::nullopt;
    return TuneCommand(PadFrequency(typed), ModulationWord(modulationIndex));
}

}  // namespace quorvane
