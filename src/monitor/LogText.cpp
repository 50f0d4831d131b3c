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
