#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvane {

// What the system tells of one serial device. Texts are as the system gives
// them (file-system bytes, UTF-8 on Linux).
struct SerialPortFacts {
    std::string SystemPath;    // "/dev/ttyUSB0"
    std::string ById;          // "/dev/serial/by-id/usb-Prolific_...-if00-port0"; empty when none
    std::string Description;   // the USB product text ("USB-Serial Controller")
    std::string Manufacturer;  // "Prolific Technology Inc."
    std::optional<std::uint16_t> VendorId;
    std::optional<std::uint16_t> ProductId;
};

// The scanner's USB cable is a Prolific PL2303.
inline constexpr std::uint16_t kProlificVendorId = 0x067b;
inline constexpr std::uint16_t kPl2303ProductId = 0x2303;

// One line of the device list.
struct SerialDeviceEntry {
    // What a port number is bound to: the stable by-id name when there is
    // one (it survives replugging and renumbering), else the system path.
    std::string Path;
    std::string SystemPath;
    // "usb-Prolific_..._Controller-if00-port0 (ttyUSB0) - USB-Serial Controller
    // 067b:2303 - likely the scanner"
    std::string Label;
    bool LikelyScanner = false;

    bool operator==(const SerialDeviceEntry&) const = default;
};

// The entries of the device list, one per system path (the first facts of a
// path count): a likely scanner first, then devices with a by-id name, then
// the rest, each kind by name with numbers in numeric order (ttyUSB2 before
// ttyUSB10). The order depends only on the facts, not on the order they came
// in, so the list does not jump between refreshes.
std::vector<SerialDeviceEntry> SerialDeviceEntries(const std::vector<SerialPortFacts>& facts);

// What changed between two lists, for the user: "Serial device plugged in:
// NAME", "Serial device unplugged: NAME" or "Serial devices changed"; empty
// when the same devices are there.
std::string SerialDeviceChange(const std::vector<SerialDeviceEntry>& before,
                               const std::vector<SerialDeviceEntry>& after);

}  // namespace quorvane
