#include "ReplyLine.h"

namespace quorvane {

std::string FieldText(std::string text) {
    for (char& c : text)
        if (c == ',' || c == '\r') c = ' ';
    return text;
}

std::string ReplyLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ',';
        line += FieldText(fields[i]);
    }
    return line;
}

}  // namespace quorvane
