#pragma once
// What the benchmarks feed the poll cycle: a fixed clock and one read holding
// the three replies of a tick.
#include <string>

#include "monitor/Clock.h"

namespace quorvane::bench {

class FixedClock : public Clock {
public:
    std::string TimeOfDayText() override { return "2:51:13 PM"; }
};

// STS, GID and WIN of a conventional reception; hitIndicator "0" while it
// is received.
inline std::string ThreeReplies(const std::string& hitIndicator) {
    return "STS,County          ,________________,Dispatch 1  \x82 CC,________________,"
           "101000000000001,10000000000011000,0,0," + hitIndicator + ",0,0\r"
           "GID,TGID,12345,0,Metro Trunk,Police,North Ops\r"
           "WIN,0,01544300\r";
}

}  // namespace quorvane::bench
