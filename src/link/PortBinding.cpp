#include "link/PortBinding.h"

#include <filesystem>
#include <system_error>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "link/PortNaming.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPermissionDenied = "permission denied";
constexpr const char* kPermissionFix = "fix: sudo adduser $USER dialout, then log in again";

std::string PortName(int portNumber) { return "Port " + std::to_string(portNumber); }

fs::path ComEntry(int portNumber, const std::string& appDirectory) {
    return fs::path(appDirectory) / ("com" + std::to_string(portNumber));
}

PortBinding Refused(std::string message) { return PortBinding{false, std::move(message)}; }

}  // namespace

PortBinding BindPortToDevice(int portNumber, const std::string& appDirectory, const std::string& target) {
#ifdef _WIN32
    (void)appDirectory;
    (void)target;
    return Refused(PortName(portNumber) + " is COM" + std::to_string(portNumber));
#else
    const fs::path entry = ComEntry(portNumber, appDirectory);
    std::error_code error;
    const fs::file_status status = fs::symlink_status(entry, error);
    if (fs::is_regular_file(status)) {
        const PortEntry address = FindPortEntry(portNumber, appDirectory);
        if (address.OnNetwork()) {
            return Refused(PortName(portNumber) + " is the network address " + address.shown + " (" +
                           entry.string() + "); remove that file to use a device");
        }
        return Refused(PortName(portNumber) + " is the file " + entry.string() +
                       ", not a link; remove it to use a device");
    }
    if (fs::exists(status) && !fs::is_symlink(status)) {
        return Refused(PortName(portNumber) + " is " + entry.string() + ", not a link; remove it to use a device");
    }
    // A fresh link beside the entry, renamed over it: the old link is
    // replaced in one step and nothing is left half done on failure.
    const fs::path fresh = entry.string() + ".link-" + std::to_string(::getpid());
    if (fs::is_symlink(fs::symlink_status(fresh, error))) fs::remove(fresh, error);
    error.clear();
    fs::create_symlink(target, fresh, error);
    if (!error) fs::rename(fresh, entry, error);
    if (error) {
        std::error_code ignored;
        fs::remove(fresh, ignored);
        return Refused(PortName(portNumber) + " could not be linked to " + target + " (" + error.message() + ")");
    }
    return PortBinding{true, PortName(portNumber) + " opens " + target};
#endif
}

std::string PortLinkTarget(int portNumber, const std::string& appDirectory) {
    std::error_code error;
    const fs::path target = fs::read_symlink(ComEntry(portNumber, appDirectory), error);
    return error ? std::string() : target.string();
}

std::string WithPortAdvice(const std::string& reason) {
#ifdef _WIN32
    return reason;
#else
    if (reason != kPermissionDenied) return reason;
    return reason + " (" + kPermissionFix + ")";
#endif
}

}  // namespace quorvane
