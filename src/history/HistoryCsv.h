#pragma once
#include <array>
#include <string>
#include <string_view>

namespace quorvane {

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
