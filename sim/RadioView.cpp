#include "RadioView.h"

namespace quorvane {

std::string PadLine(const std::string& text) {
    std::string line = text.substr(0, kDisplayWidth);
    line.resize(kDisplayWidth, ' ');
    return line;
}

}  // namespace quorvane
