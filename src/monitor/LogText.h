#pragma once
#include <string>
#include <string_view>

#include "base/Paths.h"

namespace quorvane {

// The text made usable inside a file name: each blank, "/", "\", ":", "*",
// "?" and double quote becomes "-"; everything else stays.
std::string FixForLog(std::string_view toFix);

// The hit log of this run, newest line first; each line ends in CR LF.
class LogText {
public:
    void Prepend(std::string_view line) { text_.insert(0, line); }
    void Clear() { text_.clear(); }
    const std::string& Text() const { return text_; }
    // The bytes of the log file: the whole log and one more CR LF.
    std::string FileContent() const { return text_ + "\r\n"; }

private:
    std::string text_;
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
