#include "link/PortNaming.h"

#include <filesystem>
#include <system_error>

namespace quorvane {

std::string PortDevicePath(int portNumber, const std::string& appDirectory) {
#ifdef _WIN32
    (void)appDirectory;
    return "COM" + std::to_string(portNumber);
#else
    const std::filesystem::path link =
        std::filesystem::path(appDirectory) / ("com" + std::to_string(portNumber));
    std::error_code error;
    // The entry counts even when its link points nowhere yet (a simulator or
    // adapter that is about to come back): opening it then reports "not found".
    if (std::filesystem::exists(std::filesystem::symlink_status(link, error))) return link.string();
    return "/dev/ttyUSB" + std::to_string(portNumber - 1);
#endif
}

}  // namespace quorvane
