#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

namespace quorvane {

// One line of the command log: "<ms> <command>\n", the command's bytes outside
// 0x20-0x7E written as \xHH (two upper-case hex digits).
std::string CommandLogLine(std::int64_t ms, const std::string& command);

// Appends command log lines to a file, each flushed at once so that a reader
// sees it while the simulator runs.
class CommandLog {
public:
    CommandLog() = default;
    ~CommandLog();
    CommandLog(const CommandLog&) = delete;
    CommandLog& operator=(const CommandLog&) = delete;

    // Opens path for appending; false (and no log) when it cannot be opened.
    bool Open(const std::string& path);
    bool IsOpen() const { return file_ != nullptr; }
    void Write(std::int64_t ms, const std::string& command);

private:
    std::FILE* file_ = nullptr;
};

}  // namespace quorvane
