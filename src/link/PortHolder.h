#pragma once
#include <optional>
#include <string>

namespace quorvane {

// A program that has a device open.
struct PortHolder {
    long Pid = 0;
    std::string Program;  // its name as the system knows it ("quorvane", "minicom")
};

// Who else has the device at path open, found among this user's processes
// (the system's process table; other users' processes cannot be looked
// into). None when no other holder can be seen, or on a system without one.
std::optional<PortHolder> FindPortHolder(const std::string& path);

// "busy" said with who has the port and what to do: another Quorvane (its
// window, or one without a screen) is told apart from other programs.
std::string BusyReason(const std::optional<PortHolder>& holder);

}  // namespace quorvane
