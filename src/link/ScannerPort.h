#pragma once
#include <string>

namespace quorvane {

// The serial connection to the scanner as the core sees it. Bytes are kept
// raw (one char per byte) from the port to the files.
class ScannerPort {
public:
    virtual ~ScannerPort() = default;
    virtual bool IsOpen() const = 0;
    // Writes text followed by one carriage return, as one write.
    virtual void SendCommand(const std::string& text) = 0;
    // Received bytes not yet read.
    virtual int BytesWaiting() = 0;
    // Removes and returns every waiting byte (empty when none).
    virtual std::string ReadAvailable() = 0;
};

}  // namespace quorvane
