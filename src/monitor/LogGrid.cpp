#include "monitor/LogGrid.h"

#include <algorithm>
#include <charconv>

namespace quorvane {
namespace {

// Fills a row from a log line, reusing the cells' memory.
void FillRow(LogGridRow& row, size_t index, std::string_view line) {
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, index);
    row.Cells[0].assign(digits, end);
    size_t start = 0;
    for (size_t cell = 1; cell < kLogGridColumns; ++cell) {
        if (start > line.size()) {
            row.Cells[cell].clear();
            continue;
        }
        const size_t tab = line.find('\t', start);
        row.Cells[cell].assign(line.substr(start, tab == std::string_view::npos ? std::string_view::npos
                                                                               : tab - start));
        start = tab == std::string_view::npos ? line.size() + 1 : tab + 1;
    }
}

}  // namespace

void LogGridFill(std::string_view logText, std::vector<LogGridRow>& rows) {
    size_t used = 0;
    size_t start = 0;
    for (size_t index = 0; index <= kLogGridLastLineIndex; ++index) {
        const size_t end = logText.find("\r\n", start);
        const std::string_view line =
            logText.substr(start, end == std::string_view::npos ? std::string_view::npos
                                                                : end - start);
        if (line.find('/') != std::string_view::npos) {
            if (used == rows.size()) rows.emplace_back();
            FillRow(rows[used++], index, line);
        }
        if (end == std::string_view::npos) break;
        start = end + 2;
    }
    const size_t total = used + kLogGridEmptyRows;
    rows.resize(std::min(rows.size(), total));
    for (size_t r = used; r < rows.size(); ++r) {
        for (std::string& cell : rows[r].Cells) cell.clear();
    }
    rows.resize(total);
}

std::vector<LogGridRow> LogGridFill(std::string_view logText) {
    std::vector<LogGridRow> rows;
    LogGridFill(logText, rows);
    return rows;
}

}  // namespace quorvane
