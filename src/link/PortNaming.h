#pragma once
#include <string>

namespace quorvane {

// The speeds of the speed list, in list order.
inline constexpr int kPortSpeeds[] = {9600, 19200, 38400, 57600};

// The device that port number n (1..10) opens: on Windows "COMn"; elsewhere
// the entry "comN" in the app folder when it exists (usually a symbolic link
// to the real device), otherwise /dev/ttyUSB<n-1>.
std::string PortDevicePath(int portNumber, const std::string& appDirectory);

}  // namespace quorvane
