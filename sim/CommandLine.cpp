#include "CommandLine.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>

namespace quorvane {
namespace {

bool ReadCount(const std::string& text, int* value) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    *value = std::stoi(text);
    return true;
}

}  // namespace

SimCommandLine ParseSimCommandLine(const std::vector<std::string>& args, std::string* error) {
    SimCommandLine options;
    std::string fault;
    for (std::size_t i = 0; i < args.size() && fault.empty(); ++i) {
        const std::string& option = args[i];
        if (option == "--demo") {
            options.demo = true;
            continue;
        }
        if (option == "--plain-trunk") {
            options.plain_trunk = true;
            continue;
        }
        const bool takes_text = option == "--scenario" || option == "--link" || option == "--log";
        const bool takes_number = option == "--baud" || option == "--reply-delay" || option == "--exit-after" ||
                                  option == "--tcp" || option == "--clear-ms" || option == "--capacity" ||
                                  option == "--delete-ms" || option == "--orer-every";
        if (!takes_text && !takes_number) {
            fault = "unknown option " + option;
            break;
        }
        if (i + 1 >= args.size()) {
            fault = option + " needs a value";
            break;
        }
        const std::string& value = args[++i];
        int number = 0;
        if (takes_text && value.empty()) fault = option + " needs a value";
        else if (takes_number && !ReadCount(value, &number)) fault = option + " needs a whole number";
        else if (option == "--scenario") options.scenario_path = value;
        else if (option == "--link") options.link_path = value;
        else if (option == "--log") options.log_path = value;
        else if (option == "--baud") options.baud = number;
        else if (option == "--reply-delay") options.reply_delay_ms = number;
        else if (option == "--tcp") options.tcp_port = number;
        else if (option == "--clear-ms") options.clear_ms = number;
        else if (option == "--capacity") options.capacity = number;
        else if (option == "--delete-ms") options.delete_ms = number;
        else if (option == "--orer-every") options.orer_every = number;
        else options.exit_after_ms = number;
    }
    if (fault.empty() && options.demo == !options.scenario_path.empty())
        fault = "give either --scenario FILE or --demo";
    if (fault.empty() && options.tcp_port > 65535) fault = "--tcp needs a port number up to 65535";
    if (fault.empty() && options.tcp_port >= 0 && !options.link_path.empty())
        fault = "--link is for the pseudo-terminal; with --tcp put tcp://127.0.0.1:PORT in the com file";
    if (error) *error = fault;
    return fault.empty() ? options : SimCommandLine{};
}

bool PlaceLink(const std::string& path, const std::string& target, std::string* error) {
    namespace fs = std::filesystem;
    std::error_code failure;
    const fs::file_status status = fs::symlink_status(path, failure);
    if (fs::exists(status) && !fs::is_symlink(status)) {
        if (error) *error = path + " exists and is not a symbolic link";
        return false;
    }
    // Made under a temporary name and renamed over the old link, so the name
    // always points somewhere.
    const std::string temporary = path + ".quorvane-sim-" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(target.c_str(), temporary.c_str()) != 0 || ::rename(temporary.c_str(), path.c_str()) != 0) {
        if (error) *error = "cannot link " + path + ": " + std::strerror(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

void RemoveLink(const std::string& path, const std::string& target) {
    char buffer[PATH_MAX];
    const ssize_t size = ::readlink(path.c_str(), buffer, sizeof buffer);
    if (size >= 0 && std::string(buffer, static_cast<std::size_t>(size)) == target) ::unlink(path.c_str());
}

}  // namespace quorvane
