#pragma once
#include <string>

#include "monitor/Clock.h"

namespace quorvane::testing {

// A status reply of 12 fields with the parts the monitor reads.
inline std::string Sts(const std::string& line1, const std::string& line2,
                       const std::string& hitIndicator,
                       const std::string& flags1 = "111111111111111",
                       const std::string& flags2 = "11111111111111111") {
    return "STS," + line1 + ",," + line2 + ",," + flags1 + "," + flags2 + ",,," + hitIndicator +
           ",,";
}

// A talkgroup reply of 7 fields.
inline std::string Gid(const std::string& id = "", const std::string& system = "",
                       const std::string& group = "", const std::string& talkgroup = "") {
    return "GID,," + id + ",," + system + "," + group + "," + talkgroup;
}

// A frequency reply of 3 fields; field 1 is the signal level.
inline std::string Win(const std::string& digits, const std::string& level = "") {
    return "WIN," + level + "," + digits;
}

// What one read holds when the three replies arrived.
inline std::string Read(const std::string& sts, const std::string& gid, const std::string& win) {
    return sts + "\r" + gid + "\r" + win + "\r";
}

class FakeClock : public Clock {
public:
    std::string Now = "2:51:13 PM";
    std::string TimeOfDayText() override { return Now; }
};

}  // namespace quorvane::testing
