#pragma once
#include <string>
#include <utility>

#include "link/qt/LinkTransport.h"

namespace quorvane::test {

// A line that keeps what was written and hands over what the test says the
// scanner answered.
class FakeLine : public LinkTransport {
public:
    std::string written;
    std::string pending;
    bool open = false;
    bool watching = false;

    QString Open(const PortEntry&, int) override {
        open = true;
        return {};
    }
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }
    void Write(const std::string& bytes) override {
        if (open) written += bytes;
    }
    int BytesWaiting() override { return static_cast<int>(pending.size()); }
    std::string ReadAvailable() override { return std::exchange(pending, std::string()); }
    std::size_t Unsent() const override { return 0; }
    void WatchIncoming(bool on) override { watching = on; }
    void Flush(int) override {}

    void Answer(const std::string& bytes) {
        pending += bytes;
        if (watching) emit Incoming();
    }
    std::string TakeWritten() { return std::exchange(written, std::string()); }
};

}  // namespace quorvane::test
