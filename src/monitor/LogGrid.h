#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// The log grid has 8 columns: the hidden line index, then the seven fields of
// a log line.
inline constexpr size_t kLogGridColumns = 8;
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

struct LogGridRow {
    // Cell 0 is the line index in the log text (empty for the filler rows);
    // cells 1 to 7 are the tab-separated fields of the line, missing fields
    // empty and extra ones dropped.
    std::array<std::string, kLogGridColumns> Cells;
};

// The rows of the grid for a log text: every line (split at CR LF) with an
// index up to kLogGridLastLineIndex that contains "/", then the empty rows.
// An empty log gives just the empty rows.
std::vector<LogGridRow> LogGridFill(std::string_view logText);
// The same into rows kept by the caller: the grid is rebuilt after every hit,
// and reusing the rows' memory keeps a rebuild free of allocations.
void LogGridFill(std::string_view logText, std::vector<LogGridRow>& rows);

// The background of row r's cells in columns 1 to 7: 0xFAFAFA for odd rows,
// 0xFFFFFF for even rows (row 0 included). Grey, so RGB and BGR agree.
constexpr std::uint32_t LogGridStripeColour(size_t row) {
    return row % 2 == 1 ? 0xFAFAFAu : 0xFFFFFFu;
}

}  // namespace quorvane
