#include "monitor/LogText.h"

#include <cstdio>

namespace quorvane {

std::string FixForLog(std::string_view toFix) {
    std::string fixed(toFix);
    for (char& c : fixed) {
        switch (c) {
        case ' ': case '/': case '\\': case ':': case '*': case '?': case '"':
            c = '-';
            break;
        default:
            break;
        }
    }
    return fixed;
}

LogRow LogRowOf(std::string_view line) {
    if (line.ends_with("\r\n")) line.remove_suffix(2);
    LogRow row;
    row.Shown = line.find('/') != std::string_view::npos;
    size_t start = 0;
    for (std::string& field : row.Fields) {
        if (start > line.size()) break;  // no more tabs: the rest stay empty
        const size_t tab = line.find('\t', start);
        field.assign(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        start = tab == std::string_view::npos ? line.size() + 1 : tab + 1;
    }
    return row;
}

const LogRow& LogText::Prepend(std::string_view line) {
    text_.insert(0, line);
    return rows_.emplace_front(LogRowOf(line));
}

void LogText::Clear() {
    text_.clear();
    rows_.clear();
}

bool IsUsableLogFolder(std::string_view folder) {
#ifdef _WIN32
    return folder.find(':') != std::string_view::npos;
#else
    return !folder.empty() && folder.front() == '/';
#endif
}

std::string LogFolder(std::string_view logDirectory, std::string_view appDirectory) {
    return std::string(IsUsableLogFolder(logDirectory) ? logDirectory : appDirectory);
}

std::string LogFilePath(std::string_view folder, std::string_view launchDate,
                        std::string_view launchTime) {
    std::string name(launchDate);
    name.push_back('_');
    name.append(launchTime).append(".txt");
    return JoinPath(folder, name);
}

std::string LaunchDateText(int year, int month, int day) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d", month, day, year);
    return text;
}

}  // namespace quorvane
