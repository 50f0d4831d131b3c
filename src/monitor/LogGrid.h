#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/LogText.h"

namespace quorvane {

// The log grid has 8 columns: the hidden line index, then the seven fields of
// a log line.
inline constexpr size_t kLogGridColumns = kLogFields + 1;
// Log lines with a higher index are not shown.
inline constexpr size_t kLogGridLastLineIndex = 1500;
// Empty rows below the log lines, so the grid never looks bare.
inline constexpr size_t kLogGridEmptyRows = 20;

// Column widths in twips; column 0 is hidden.
inline constexpr std::array<int, kLogGridColumns> kLogGridColumnWidths = {
    0, 3800, 1900, 1200, 900, 1300, 1300, 1200};
// Columns 3 (frequency) and 4 (tone or ID) are right-aligned, the rest left.
inline constexpr std::array<bool, kLogGridColumns> kLogGridRightAligned = {
    false, false, false, true, true, false, false, false};
// Headings above columns 1 to 7.
inline constexpr std::array<std::string_view, kLogGridColumns - 1> kLogGridHeadings = {
    "System / Group", "Channel", "Frequency", "Tone / ID", "Start Time", "End Time", "Date"};

// The rows of the grid, followed one logged line at a time: the rows of the
// shown lines (LogRow::Shown) whose index in the log (0 for the newest line)
// is up to kLogGridLastLineIndex, newest first, each marked or not (a hit on
// a watched channel). The grid shows kLogGridEmptyRows empty rows below them.
class LogGridRows {
public:
    using Marker = std::function<bool(const LogRow&)>;

    // A line went on top of the log; its row goes on top when shown, marked
    // when the marker says so. The last row leaves when its line's index
    // passes the limit.
    void Add(const LogRow& row, const Marker& marker);
    void Clear();
    // Whether the last row leaves with the next line logged; a model that
    // tells its views of each change drops it on its own before the Add.
    bool LastLeavesWithNextLine() const;
    void DropLast() { rows_.pop_back(); }
    // Asks the marker again about every row; whether any mark changed.
    bool Remark(const Marker& marker);

    size_t Size() const { return rows_.size(); }
    const LogRow& Row(size_t r) const { return rows_[r].Row; }
    bool Marked(size_t r) const { return rows_[r].Marked; }
    // The index of row r's line in the log (0 for the newest line).
    size_t LineIndex(size_t r) const { return lines_ - 1 - rows_[r].Number; }
    // The rows of the grid with the empty rows below, and their cells: the
    // line index, then the seven fields; empty for the empty rows.
    size_t GridRowCount() const { return rows_.size() + kLogGridEmptyRows; }
    std::string Cell(size_t r, size_t column) const;

private:
    struct Kept {
        LogRow Row;
        size_t Number = 0;  // the lines logged before it since the last clear
        bool Marked = false;
    };
    std::deque<Kept> rows_;
    size_t lines_ = 0;  // logged since the last clear
};

// The grid's cells of a row read from a log text: cell 0 is the line index
// (empty for the filler rows), cells 1 to 7 the fields of the line.
struct LogGridRow {
    std::array<std::string, kLogGridColumns> Cells;
};

// The grid read back from a whole log text (a log file's lines): every line
// (split at CR LF) with an index up to kLogGridLastLineIndex that contains
// "/", then the empty rows; the same grid LogGridRows keeps a line at a time.
std::vector<LogGridRow> LogGridFill(std::string_view logText);

// The background of row r's cells in columns 1 to 7: 0xFAFAFA for odd rows,
// 0xFFFFFF for even rows (row 0 included). Grey, so RGB and BGR agree.
constexpr std::uint32_t LogGridStripeColour(size_t row) {
    return row % 2 == 1 ? 0xFAFAFAu : 0xFFFFFFu;
}

}  // namespace quorvane
