#include "monitor/LogGrid.h"

#include <algorithm>

namespace quorvane {

void LogGridRows::Add(const LogRow& row, const Marker& marker) {
    if (LastLeavesWithNextLine()) DropLast();
    if (row.Shown) rows_.push_front({row, lines_, marker && marker(row)});
    ++lines_;
}

void LogGridRows::Clear() {
    rows_.clear();
    lines_ = 0;
}

bool LogGridRows::LastLeavesWithNextLine() const {
    return !rows_.empty() && LineIndex(rows_.size() - 1) >= kLogGridLastLineIndex;
}

bool LogGridRows::Remark(const Marker& marker) {
    bool changed = false;
    for (Kept& kept : rows_) {
        const bool marked = marker && marker(kept.Row);
        changed = changed || marked != kept.Marked;
        kept.Marked = marked;
    }
    return changed;
}

std::string LogGridRows::Cell(size_t r, size_t column) const {
    if (r >= rows_.size() || column >= kLogGridColumns) return {};
    return column == 0 ? std::to_string(LineIndex(r)) : rows_[r].Row.Fields[column - 1];
}

std::vector<LogGridRow> LogGridFill(std::string_view logText) {
    std::vector<LogGridRow> rows;
    size_t start = 0;
    for (size_t index = 0; index <= kLogGridLastLineIndex; ++index) {
        const size_t end = logText.find("\r\n", start);
        const std::string_view line =
            logText.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (line.find('/') != std::string_view::npos) {
            LogGridRow& row = rows.emplace_back();
            row.Cells[0] = std::to_string(index);
            const LogRow fields = LogRowOf(line);
            std::copy(fields.Fields.begin(), fields.Fields.end(), row.Cells.begin() + 1);
        }
        if (end == std::string_view::npos) break;
        start = end + 2;
    }
    rows.resize(rows.size() + kLogGridEmptyRows);
    return rows;
}

}  // namespace quorvane
