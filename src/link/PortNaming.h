#pragma once
#include <string>

namespace quorvane {

// The speeds of the speed list, in list order.
inline constexpr int kPortSpeeds[] = {9600, 19200, 38400, 57600};

// What one port number stands for: a serial device, or a scanner shared on
// the network by another computer (ser2net "raw" or "telnet" mode).
struct PortEntry {
    enum class Kind { Device, Raw, Telnet, Unusable };
    Kind kind = Kind::Device;
    std::string device;   // Device: the path to open
    std::string host;     // Raw, Telnet: the computer sharing the scanner
    int port = 0;         // Raw, Telnet: its TCP port
    std::string shown;    // the device or the address, as the window shows it
    std::string problem;  // Unusable: what is wrong with the entry

    bool OnNetwork() const { return kind == Kind::Raw || kind == Kind::Telnet; }
};

// The device that port number n (1..10) opens: on Windows "COMn"; elsewhere
// the entry "comN" in the app folder when it exists (usually a symbolic link
// to the real device), otherwise /dev/ttyUSB<n-1>.
std::string PortDevicePath(int portNumber, const std::string& appDirectory);

// The text of a "comN" file: its first line is "tcp://HOST:PORT" or
// "telnet://HOST:PORT" (an IPv6 host in brackets). Anything else gives an
// Unusable entry saying what is wrong.
PortEntry ParsePortAddress(const std::string& text);

// What port number n opens: a "comN" file in the app folder holding an
// address means that address; otherwise the device of PortDevicePath.
PortEntry FindPortEntry(int portNumber, const std::string& appDirectory);

}  // namespace quorvane
