#include "history/HistorySchema.h"

namespace quorvane {

std::string LikeContains(std::string_view text) {
    std::string pattern = "%";
    for (const char c : text) {
        if (c == '%' || c == '_' || c == '\\') pattern.push_back('\\');
        pattern.push_back(c);
    }
    pattern.push_back('%');
    return pattern;
}

}  // namespace quorvane
