#include "history/HistoryCsv.h"

#include <algorithm>

#include "base/Csv.h"

namespace quorvane {

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
