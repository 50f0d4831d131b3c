#include "history/Csv.h"

#include <algorithm>

namespace quorvane {
namespace {

bool StartsAFormula(std::string_view text) {
    return !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

}  // namespace

void AppendCsvField(std::string& out, std::string_view text) {
    const std::string_view guard = StartsAFormula(text) ? "'" : "";
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(guard);
        out.append(text);
        return;
    }
    out.push_back('"');
    out.append(guard);
    for (const char c : text) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

void AppendCsvRecord(std::string& out, std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first) out.push_back(',');
        first = false;
        AppendCsvField(out, field);
    }
    out.append("\r\n");
}

std::string HistoryCsvHeader() {
    std::string header;
    for (const std::string_view column : kHistoryCsvColumns) {
        if (!header.empty()) header.push_back(',');
        header.append(column);
    }
    return header + "\r\n";
}

void AppendHistoryCsvRecord(std::string& out, const HistoryCsvValues& values) {
    constexpr size_t kFrequency = 8;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0) out.push_back(',');
        std::string_view value = values[i];
        if (i == kFrequency) value.remove_prefix(std::min(value.size(), value.find_first_not_of(' ')));
        AppendCsvField(out, value);
    }
    out.append("\r\n");
}

}  // namespace quorvane
