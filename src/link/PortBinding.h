#pragma once
#include <string>

namespace quorvane {

struct PortBinding {
    bool Bound = false;
    std::string Message;  // for the user, either way
};

// Makes port number n (1..10) open the device at target: the entry "comN" in
// the app folder becomes a symbolic link to target. An old link is replaced
// in one step (a new link under a temporary name, renamed over it), so the
// entry is never missing. A regular file there (a network address, or
// anything else the user put there) or a folder is never touched: the
// message says what is there instead. On Windows port n is always COMn.
PortBinding BindPortToDevice(int portNumber, const std::string& appDirectory, const std::string& target);

// Where the entry "comN" links to, as written in the link; empty when it is
// no symbolic link.
std::string PortLinkTarget(int portNumber, const std::string& appDirectory);

// A reason a port could not be opened, with the fix when there is a simple
// one: "permission denied" gets how to join the group that may use serial
// devices on Debian. Other reasons are returned as they are.
std::string WithPortAdvice(const std::string& reason);

}  // namespace quorvane
