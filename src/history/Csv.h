#pragma once
#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

namespace quorvane {

// A CSV field (RFC 4180): as it is, or in double quotes with each quote
// doubled when it holds a comma, a quote, a CR or an LF. A field that starts
// with "=", "+", "-", "@", a tab or a CR would be taken by a spreadsheet as a
// formula, so it gets a "'" in front and shows as the text it is.
void AppendCsvField(std::string& out, std::string_view text);

// A record: the fields separated by commas, ended by CR LF.
void AppendCsvRecord(std::string& out, std::initializer_list<std::string_view> fields);

// The columns of the History tab's CSV export, in order (the header row).
inline constexpr std::array<std::string_view, 16> kHistoryCsvColumns = {
    "start_local", "start_utc", "end_local", "end_utc", "duration_s", "system", "group", "channel", "frequency",
    "frequency_digits", "code_or_id", "recording", "run_id", "signal_peak", "signal_average", "station"};
using HistoryCsvValues = std::array<std::string, kHistoryCsvColumns.size()>;
std::string HistoryCsvHeader();

// One hit as a record of those columns. The frequency goes without the
// blanks the log puts in front of it (" 460.0250" is 460.0250).
void AppendHistoryCsvRecord(std::string& out, const HistoryCsvValues& values);

}  // namespace quorvane
