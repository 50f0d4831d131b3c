#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace quorvane {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

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

// folder, separator, name; no second separator when the folder ends in one.
std::string JoinPath(std::string_view folder, std::string_view name);

// The path of a file named from scanner text (a recording, a notes file)
// under a folder. The window turns the name's bytes into file-system text;
// JoinPath keeps them as they are.
using NamePathMaker = std::function<std::string(std::string_view folder, std::string_view name)>;

// JoinPath as a name maker that keeps the name's bytes as they are; the
// default wherever a name maker is asked for.
inline std::string JoinPathBytes(std::string_view folder, std::string_view name) { return JoinPath(folder, name); }

// The run's log file: folder / LaunchDate "_" LaunchTime ".txt".
std::string LogFilePath(std::string_view folder, std::string_view launchDate,
                        std::string_view launchTime);

// The run's date as "mm-dd-yyyy", e.g. 12-04-2026.
std::string LaunchDateText(int year, int month, int day);

}  // namespace quorvane
