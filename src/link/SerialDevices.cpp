#include "link/SerialDevices.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace quorvane {
namespace {

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

// The name an entry is known by: its by-id name, else its system path.
std::string ShortName(const SerialDeviceEntry& entry) {
    return entry.Path == entry.SystemPath ? entry.SystemPath : BaseName(entry.Path);
}

std::string UsbIds(const SerialPortFacts& facts) {
    if (!facts.VendorId || !facts.ProductId) return {};
    char ids[10];
    std::snprintf(ids, sizeof ids, "%04x:%04x", unsigned{*facts.VendorId}, unsigned{*facts.ProductId});
    return ids;
}

SerialDeviceEntry EntryOf(const SerialPortFacts& facts) {
    SerialDeviceEntry entry;
    entry.SystemPath = facts.SystemPath;
    entry.Path = facts.ById.empty() ? facts.SystemPath : facts.ById;
    entry.LikelyScanner = facts.VendorId == kProlificVendorId && facts.ProductId == kPl2303ProductId;
    entry.Label = ShortName(entry);
    if (!facts.ById.empty()) entry.Label += " (" + BaseName(facts.SystemPath) + ")";
    std::string usb = facts.Description.empty() ? facts.Manufacturer : facts.Description;
    const std::string ids = UsbIds(facts);
    if (!ids.empty()) usb += usb.empty() ? ids : " " + ids;
    if (!usb.empty()) entry.Label += " - " + usb;
    if (entry.LikelyScanner) entry.Label += " - likely the scanner";
    return entry;
}

// Text order, except that runs of digits compare as numbers.
bool NaturalLess(const std::string& a, const std::string& b) {
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const size_t endA = a.find_first_not_of("0123456789", i);
            const size_t endB = b.find_first_not_of("0123456789", j);
            std::string numA = a.substr(i, endA - i), numB = b.substr(j, endB - j);
            numA.erase(0, std::min(numA.find_first_not_of('0'), numA.size() - 1));
            numB.erase(0, std::min(numB.find_first_not_of('0'), numB.size() - 1));
            if (numA.size() != numB.size()) return numA.size() < numB.size();
            if (numA != numB) return numA < numB;
            i = endA == std::string::npos ? a.size() : endA;
            j = endB == std::string::npos ? b.size() : endB;
        } else {
            if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
            ++i;
            ++j;
        }
    }
    if ((a.size() - i) != (b.size() - j)) return a.size() - i < b.size() - j;
    return a < b;  // equal as numbers ("01" and "1"): still one fixed order
}

}  // namespace

std::vector<SerialDeviceEntry> SerialDeviceEntries(const std::vector<SerialPortFacts>& facts) {
    std::vector<SerialDeviceEntry> entries;
    std::set<std::string> seen;
    for (const SerialPortFacts& port : facts) {
        if (port.SystemPath.empty() || !seen.insert(port.SystemPath).second) continue;
        entries.push_back(EntryOf(port));
    }
    std::sort(entries.begin(), entries.end(), [](const SerialDeviceEntry& a, const SerialDeviceEntry& b) {
        const bool aById = a.Path != a.SystemPath, bById = b.Path != b.SystemPath;
        if (a.LikelyScanner != b.LikelyScanner) return a.LikelyScanner;
        if (aById != bById) return aById;
        if (a.Path != b.Path) return NaturalLess(a.Path, b.Path);
        return a.SystemPath < b.SystemPath;
    });
    return entries;
}

std::string SerialDeviceChange(const std::vector<SerialDeviceEntry>& before,
                               const std::vector<SerialDeviceEntry>& after) {
    const auto missingFrom = [](const std::vector<SerialDeviceEntry>& list, const std::vector<SerialDeviceEntry>& other) {
        std::vector<const SerialDeviceEntry*> missing;
        for (const SerialDeviceEntry& entry : list) {
            const bool there = std::any_of(other.begin(), other.end(),
                                           [&](const SerialDeviceEntry& o) { return o.Path == entry.Path; });
            if (!there) missing.push_back(&entry);
        }
        return missing;
    };
    const auto added = missingFrom(after, before);
    const auto removed = missingFrom(before, after);
    if (added.empty() && removed.empty()) return {};
    if (added.size() == 1 && removed.empty()) return "Serial device plugged in: " + ShortName(*added[0]);
    if (removed.size() == 1 && added.empty()) return "Serial device unplugged: " + ShortName(*removed[0]);
    return "Serial devices changed";
}

}  // namespace quorvane
