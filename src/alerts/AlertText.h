#pragma once
#include <string>

#include "monitor/TickOutcome.h"

namespace quorvane {

// The words of one alert, in scanner bytes (the names as received).
struct AlertText {
    std::string Summary;  // the channel name, or the best name there is
    std::string Body;     // "system / group", channel, and "154.4300 MHz" or "ID 12345", one a line (LF)
    std::string Line;     // short, on one line, for a status box: "Alert: Fire Dispatch, 154.4300 MHz"
};

AlertText DescribeAlert(const LiveHit& hit);

}  // namespace quorvane
