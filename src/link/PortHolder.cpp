#include "link/PortHolder.h"

#include <filesystem>
#include <cstdio>
#include <fstream>
#include <sstream>

#ifdef __linux__
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace quorvane {
namespace fs = std::filesystem;

#ifdef __linux__
namespace {

// The entries of a folder of the process table, which may change or vanish
// while it is read: an error only ends the walk early, never throws.
template <typename Each>
void EachEntry(const fs::path& folder, Each&& each) {
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        if (each(*entry)) return;
    }
}

std::string ProgramOf(const std::string& pid) {
    std::string program;
    std::ifstream comm("/proc/" + pid + "/comm");
    std::getline(comm, program);
    return program;
}

// The process that holds the lock a serial link takes on the device, from
// the system's table of locks: "1: FLOCK  ADVISORY  WRITE 4242 00:19:3 0 EOF"
// (device numbers in hex, the inode in decimal).
std::optional<PortHolder> LockHolder(const fs::path& device) {
    struct stat facts {};
    if (::stat(device.c_str(), &facts) != 0) return std::nullopt;
    char file[64];
    std::snprintf(file, sizeof file, "%02x:%02x:%llu", major(facts.st_dev), minor(facts.st_dev),
                  static_cast<unsigned long long>(facts.st_ino));
    std::ifstream locks("/proc/locks");
    std::string line;
    while (std::getline(locks, line)) {
        std::istringstream fields(line);
        std::string id, kind, mode, access, pid, where;
        if (!(fields >> id >> kind >> mode >> access >> pid >> where)) continue;
        if (id == "->" || kind != "FLOCK" || where != file) continue;
        if (pid.empty() || pid.size() > 9 || pid.find_first_not_of("0123456789") != std::string::npos) continue;
        return PortHolder{std::stol(pid), ProgramOf(pid)};
    }
    return std::nullopt;
}

}  // namespace
#endif

std::optional<PortHolder> FindPortHolder(const std::string& path) {
#ifdef __linux__
    std::error_code error;
    const fs::path device = fs::canonical(path, error);
    if (error) return std::nullopt;
    if (auto holder = LockHolder(device)) return holder;
    // This very process may hold it too (a simulator's end of a
    // pseudo-terminal): another holder is the one to name.
    const std::string self = std::to_string(::getpid());
    std::optional<PortHolder> found, other;
    EachEntry("/proc", [&](const fs::directory_entry& process) {
        const std::string name = process.path().filename().string();
        if (name.empty() || name.size() > 9 || name.find_first_not_of("0123456789") != std::string::npos) return false;
        // Another user's process cannot be looked into: its walk ends at once.
        EachEntry(process.path() / "fd", [&](const fs::directory_entry& fd) {
            std::error_code gone;
            if (fs::read_symlink(fd.path(), gone) != device || gone) return false;
            const PortHolder holder{std::stol(name), ProgramOf(name)};
            (name == self ? found : other) = holder;
            return true;
        });
        return other.has_value();
    });
    return other ? other : found;
#else
    (void)path;
#endif
    return std::nullopt;
}

std::string BusyReason(const std::optional<PortHolder>& holder) {
    if (!holder) return "busy (another program has it open)";
    const std::string pid = std::to_string(holder->Pid);
    if (holder->Program == "quorvane") {
        return "busy: Quorvane itself has it (process " + pid +
               "). Press Stop on that window's Settings tab, or close it, then try again";
    }
    const std::string program = holder->Program.empty() ? "another program" : holder->Program;
    return "busy: " + program + " (process " + pid + ") has it open. Close it, then try again";
}

}  // namespace quorvane
