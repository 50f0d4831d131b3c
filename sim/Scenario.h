#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "RadioView.h"

namespace quorvane {

// One stretch of the radio's scan: what it shows for duration_ms.
struct ScanStep {
    int duration_ms = 1000;
    RadioView view;
    // Continues the previous step's transmission on the same channel: no scan
    // delay between the two, and ">" / "<" treat them as one.
    bool continues = false;
    // Line 2 reads " Press Any Key  " until the "E" key is pressed.
    bool prompt = false;
};

struct StoredChannel {
    std::string name;
    std::string frequency;   // 8 digits
    std::string modulation;  // "FM", "NFM", "AM" or "AUTO"
};

struct StoredGroup {
    std::string name;
    std::vector<StoredChannel> channels;
};

struct StoredSystem {
    std::string name;
    std::vector<StoredGroup> groups;
};

inline constexpr int kDefaultScanDelayMs = 2000;
// Records (systems, groups, channels, talkgroups, trunk frequencies) the
// radio's memory holds before an append answers "-1".
inline constexpr std::size_t kDefaultMemoryCapacity = 6000;

// A radio to play: the scan it runs and the memory it has stored.
struct Scenario {
    int scan_delay_ms = kDefaultScanDelayMs;
    bool once = false;  // play the steps once, then stay on the last one
    std::vector<ScanStep> steps;
    std::vector<StoredSystem> systems;
    std::size_t memory_capacity = kDefaultMemoryCapacity;
    // CSY of a trunked type makes the system's frequency group, as the real
    // firmware does; false keeps the older model (no group until AGC).
    bool firmware_trunk_groups = true;
};

}  // namespace quorvane
