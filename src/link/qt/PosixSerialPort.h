#pragma once
#include <cstddef>
#include <string>

namespace quorvane {

// A serial device opened straight through termios: 8 data bits, no parity,
// 1 stop bit, no flow control, raw bytes. Nothing watches the device between
// reads, so a scanner whose replies trickle in byte by byte costs no wake-ups
// of the window's thread; the poll reads everything at its own pace.
class PosixSerialPort {
public:
    ~PosixSerialPort() { Close(); }

    // Empty on success, else a short reason for the user: "not found",
    // "busy", "permission denied", or the system's own words.
    std::string Open(const std::string& path, int baud);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    // The open device's descriptor, -1 when closed (for a read notifier).
    int Descriptor() const { return fd_; }
    // Bytes written that the device's output queue has not taken yet.
    std::size_t Unsent() const { return unsent_.size(); }

    // Each returns false when the device has gone away; the port is then
    // closed (bytes read before that are still handed over).
    bool Write(const std::string& bytes);
    // Waits up to waitMs for what is still unsent to go out (before exit).
    void Drain(int waitMs);
    bool Waiting(int& count);
    bool ReadAll(std::string& bytes);

private:
    bool Flush();
    int fd_ = -1;
    std::string unsent_;  // what the device's output queue could not take yet
};

}  // namespace quorvane
