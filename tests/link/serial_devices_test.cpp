#include "link/SerialDevices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "link/PortBinding.h"
#include "link/PortNaming.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

TEST(SerialDevices, EntriesShowTheStableNameTheUsbFactsAndTheLikelyScannerFirst) {
    const std::string pl2303 = "/dev/serial/by-id/usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0";
    const std::vector<SerialPortFacts> facts = {
        {"/dev/ttyS0", "", "", "", std::nullopt, std::nullopt},
        {"/dev/ttyUSB10", "", "", "FTDI", 0x0403, 0x6001},
        {"/dev/ttyUSB2", "", "CP2102 USB to UART", "Silicon Labs", 0x10c4, 0xea60},
        {"/dev/ttyUSB1", pl2303, "USB-Serial Controller", "Prolific Technology Inc.", 0x067b, 0x2303},
        {"/dev/ttyACM0", "/dev/serial/by-id/usb-Arduino-if00", "", "", 0x2341, std::nullopt},
        {"/dev/pts/3", "", "pseudo-terminal", "", std::nullopt, std::nullopt},
        {"/dev/ttyUSB2", "", "a second report of the same device", "", std::nullopt, std::nullopt},
        {"", "", "no path", "", std::nullopt, std::nullopt},
    };
    const struct {
        std::string path, label;
        bool likely;
    } expected[] = {
        {pl2303,
         "usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0 (ttyUSB1) - USB-Serial Controller "
         "067b:2303 - likely the scanner",
         true},
        {"/dev/serial/by-id/usb-Arduino-if00", "usb-Arduino-if00 (ttyACM0)", false},
        {"/dev/pts/3", "/dev/pts/3 - pseudo-terminal", false},
        {"/dev/ttyS0", "/dev/ttyS0", false},
        {"/dev/ttyUSB2", "/dev/ttyUSB2 - CP2102 USB to UART 10c4:ea60", false},
        {"/dev/ttyUSB10", "/dev/ttyUSB10 - FTDI 0403:6001", false},
    };
    std::vector<SerialPortFacts> reversed(facts.rbegin(), facts.rend());
    reversed.erase(reversed.begin() + 1);  // the second report of ttyUSB2 now comes first: drop it
    for (const auto& input : {facts, reversed}) {
        const std::vector<SerialDeviceEntry> entries = SerialDeviceEntries(input);
        ASSERT_EQ(entries.size(), std::size(expected));
        for (size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(entries[i].Path, expected[i].path);
            EXPECT_EQ(entries[i].Label, expected[i].label);
            EXPECT_EQ(entries[i].LikelyScanner, expected[i].likely);
        }
    }
    const auto entries = SerialDeviceEntries(facts);
    const std::vector<SerialDeviceEntry> fewer(entries.begin() + 1, entries.end());
    EXPECT_EQ(SerialDeviceChange(entries, entries), "");
    EXPECT_EQ(SerialDeviceChange(entries, fewer),
              "Serial device unplugged: usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0");
    EXPECT_EQ(SerialDeviceChange(fewer, entries).rfind("Serial device plugged in: usb-Prolific", 0), 0u);
    EXPECT_EQ(SerialDeviceChange({entries[0]}, {entries[1]}), "Serial devices changed");
}

TEST(PortBinding, ALinkIsMadeOrReplacedButAFileIsNeverTouched) {
    const fs::path dir = fs::temp_directory_path() / "quorvane-port-binding";
    fs::remove_all(dir);
    fs::create_directories(dir / "com4");
    std::ofstream(dir / "com3") << "tcp://shack-pi:2000\n";
    std::ofstream(dir / "com5") << "my notes";
    fs::create_symlink("/dev/ttyUSB7", dir / "com2");
    const struct {
        int port;
        bool bound;
        std::string message;
    } cases[] = {
        {1, true, "Port 1 opens /dev/pts/9"},
        {2, true, "Port 2 opens /dev/pts/9"},
        {3, false, "Port 3 is the network address tcp://shack-pi:2000 (" + (dir / "com3").string() +
                       "); remove that file to use a device"},
        {4, false, "Port 4 is " + (dir / "com4").string() + ", not a link; remove it to use a device"},
        {5, false, "Port 5 is the file " + (dir / "com5").string() + ", not a link; remove it to use a device"},
    };
    for (const auto& c : cases) {
        const PortBinding binding = BindPortToDevice(c.port, dir.string(), "/dev/pts/9");
        EXPECT_EQ(binding.Bound, c.bound) << c.port;
        EXPECT_EQ(binding.Message, c.message);
        EXPECT_EQ(PortLinkTarget(c.port, dir.string()), c.bound ? "/dev/pts/9" : "") << c.port;
    }
    EXPECT_EQ(FindPortEntry(3, dir.string()).shown, "tcp://shack-pi:2000");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 5);  // no temporary left
    EXPECT_FALSE(BindPortToDevice(1, (dir / "missing").string(), "/dev/pts/9").Bound);
    fs::remove_all(dir);

    EXPECT_EQ(WithPortAdvice("permission denied"),
              "permission denied (fix: sudo adduser $USER dialout, then log in again)");
    EXPECT_EQ(WithPortAdvice("busy"), "busy");
}

}  // namespace
}  // namespace quorvane
