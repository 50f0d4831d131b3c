#include "CommandLog.h"

namespace quorvane {

std::string CommandLogLine(std::int64_t ms, const std::string& command) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string line = std::to_string(ms) + ' ';
    for (char c : command) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte <= 0x7E) {
            line += c;
        } else {
            line += "\\x";
            line += kHex[byte >> 4];
            line += kHex[byte & 0x0F];
        }
    }
    line += '\n';
    return line;
}

CommandLog::~CommandLog() {
    if (file_) std::fclose(file_);
}

bool CommandLog::Open(const std::string& path) {
    if (file_) std::fclose(file_);
    file_ = std::fopen(path.c_str(), "ab");
    return file_ != nullptr;
}

void CommandLog::Write(std::int64_t ms, const std::string& command) {
    if (!file_) return;
    const std::string line = CommandLogLine(ms, command);
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

}  // namespace quorvane
