#include "monitor/StatusFrame.h"

#include <algorithm>

namespace quorvane {

std::optional<StatusFrame> ParseStatusFrame(std::string_view reply) {
    if (std::count(reply.begin(), reply.end(), ',') != StatusFrame::kFieldCount - 1) {
        return std::nullopt;
    }
    StatusFrame frame;
    size_t start = 0;
    for (size_t i = 0; i < StatusFrame::kFieldCount; ++i) {
        const size_t comma = reply.find(',', start);
        const size_t end = comma == std::string_view::npos ? reply.size() : comma;
        frame.Fields[i].assign(reply.substr(start, end - start));
        start = end + 1;
    }
    return frame;
}

bool ShowsTransmission(std::string_view hitIndicator) {
    size_t i = hitIndicator.find_first_not_of(' ');
    if (i == std::string_view::npos) return false;
    if (hitIndicator[i] == '+' || hitIndicator[i] == '-') ++i;
    bool anyDigit = false;
    bool inFraction = false;
    for (; i < hitIndicator.size(); ++i) {
        const char c = hitIndicator[i];
        if (c == '.' && !inFraction) {
            inFraction = true;
        } else if (c >= '0' && c <= '9') {
            if (c != '0') return false;
            anyDigit = true;
        } else {
            break;
        }
    }
    return anyDigit;
}

}  // namespace quorvane
