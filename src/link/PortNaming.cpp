#include "link/PortNaming.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include "base/Numbers.h"

namespace quorvane {
namespace {

// An address file is one short line; a bigger file is not one.
constexpr std::streamsize kLongestAddressFile = 1024;

std::filesystem::path ComEntry(int portNumber, const std::string& appDirectory) {
    return std::filesystem::path(appDirectory) / ("com" + std::to_string(portNumber));
}

PortEntry Unusable(std::string problem) {
    PortEntry entry;
    entry.kind = PortEntry::Kind::Unusable;
    entry.problem = std::move(problem);
    return entry;
}

}  // namespace

std::string PortDevicePath(int portNumber, const std::string& appDirectory) {
#ifdef _WIN32
    (void)appDirectory;
    return "COM" + std::to_string(portNumber);
#else
    const std::filesystem::path link = ComEntry(portNumber, appDirectory);
    std::error_code error;
    // The entry counts even when its link points nowhere yet (a simulator or
    // adapter that is about to come back): opening it then reports "not found".
    if (std::filesystem::exists(std::filesystem::symlink_status(link, error))) return link.string();
    return "/dev/ttyUSB" + std::to_string(portNumber - 1);
#endif
}

PortEntry ParsePortAddress(const std::string& text) {
    std::string line = text.substr(0, text.find_first_of("\r\n"));
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos) return Unusable("holds no tcp:// or telnet:// address");
    line = line.substr(first, line.find_last_not_of(" \t") + 1 - first);

    PortEntry entry;
    std::string rest;
    if (line.rfind("tcp://", 0) == 0) {
        entry.kind = PortEntry::Kind::Raw;
        rest = line.substr(6);
    } else if (line.rfind("telnet://", 0) == 0) {
        entry.kind = PortEntry::Kind::Telnet;
        rest = line.substr(9);
    } else {
        return Unusable("holds no tcp:// or telnet:// address");
    }
    if (!rest.empty() && rest.back() == '/') rest.pop_back();
    std::string::size_type colon;
    if (!rest.empty() && rest.front() == '[') {
        const auto close = rest.find(']');
        if (close == std::string::npos || close == 1) return Unusable("has a bad host in " + line);
        entry.host = rest.substr(1, close - 1);
        colon = close + 1;
        if (colon < rest.size() && rest[colon] != ':') return Unusable("has a bad host in " + line);
    } else {
        colon = rest.rfind(':');
        entry.host = rest.substr(0, colon);
    }
    if (entry.host.empty() || entry.host.find_first_of(" \t/@") != std::string::npos)
        return Unusable("has a bad host in " + line);
    if (colon == std::string::npos || colon + 1 >= rest.size()) return Unusable("has no port number in " + line);
    const std::string digits = rest.substr(colon + 1);
    const std::optional<long long> port = WholeNumber(digits, 1, 65535);
    if (!port) return Unusable("has a bad port number in " + line);
    entry.port = static_cast<int>(*port);
    entry.shown = line;
    return entry;
}

PortEntry FindPortEntry(int portNumber, const std::string& appDirectory) {
    const std::filesystem::path file = ComEntry(portNumber, appDirectory);
    std::error_code error;
    // A device, or a link to one, is never a regular file; an address file is.
    if (std::filesystem::is_regular_file(file, error)) {
        std::ifstream in(file, std::ios::binary);
        std::string text(static_cast<size_t>(kLongestAddressFile), '\0');
        in.read(text.data(), kLongestAddressFile);
        text.resize(static_cast<size_t>(in.gcount()));
        PortEntry entry = ParsePortAddress(text);
        if (entry.kind == PortEntry::Kind::Unusable) entry.shown = file.string();
        return entry;
    }
    PortEntry entry;
    entry.device = PortDevicePath(portNumber, appDirectory);
    entry.shown = entry.device;
    return entry;
}

}  // namespace quorvane
