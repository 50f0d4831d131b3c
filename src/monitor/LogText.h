#pragma once
#include <array>
#include <deque>
#include <string>
#include <string_view>

#include "base/Paths.h"

namespace quorvane {

// The text made usable inside a file name: each blank, "/", "\", ":", "*",
// "?" and double quote becomes "-"; everything else stays.
std::string FixForLog(std::string_view toFix);

// A log line has seven tab-separated fields: "system / group", channel,
// frequency, tone or talkgroup ID, start time, end time, date.
inline constexpr size_t kLogFields = 7;

// A line of the log as its fields: the text up to each tab, missing fields
// empty and anything after the seventh field dropped. Only a line with a "/"
// in it (a hit's line) is shown in the log grid and on the pages.
struct LogRow {
    std::array<std::string, kLogFields> Fields;
    bool Shown = false;

    friend bool operator==(const LogRow&, const LogRow&) = default;
};

// The row of one log line; a CR LF at its end is not part of its last field.
LogRow LogRowOf(std::string_view line);

// The hit log of this run, newest line first; each line ends in CR LF. Every
// line is kept twice: in the text (the log file's lines) and as its row.
class LogText {
public:
    // Puts one line (ending in CR LF, with no other CR LF in it) on top.
    const LogRow& Prepend(std::string_view line);
    void Clear();
    const std::string& Text() const { return text_; }
    // One row per line, newest first.
    const std::deque<LogRow>& Rows() const { return rows_; }
    // The bytes of the log file: the whole log and one more CR LF.
    std::string FileContent() const { return text_ + "\r\n"; }

private:
    std::string text_;
    std::deque<LogRow> rows_;
};

// Whether a chosen log folder is used as it is: on Windows it must name a
// drive (contain a colon), elsewhere it must be an absolute path.
bool IsUsableLogFolder(std::string_view folder);

// The folder for the log file and recordings: the chosen one when usable,
// else the application folder.
std::string LogFolder(std::string_view logDirectory, std::string_view appDirectory);

// The run's log file: folder / LaunchDate "_" LaunchTime ".txt".
std::string LogFilePath(std::string_view folder, std::string_view launchDate,
                        std::string_view launchTime);

// The run's date as "mm-dd-yyyy", e.g. 12-04-2026.
std::string LaunchDateText(int year, int month, int day);

}  // namespace quorvane
