#include "tools/Frequency.h"

#include "link/Fields.h"

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

}  // namespace quorvane
