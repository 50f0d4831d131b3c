#pragma once
#include <string>

#include "alerts/AlertList.h"
#include "alerts/WebHook.h"
#include "monitor/TickOutcome.h"

namespace quorvane {

// The words of one alert, in scanner bytes (the names as received).
struct AlertText {
    std::string Summary;  // the channel name, or the best name there is
    std::string Body;     // "system / group", channel, and "154.4300 MHz" or "ID 12345", one a line (LF)
    std::string Line;     // short, on one line, for a status box: "Alert: Fire Dispatch, 154.4300 MHz"
};

AlertText DescribeAlert(const LiveHit& hit);
// A two-tone page heard during a hit: named by the page, then the hit.
AlertText DescribeTonePage(const LiveHit& hit, const ToneWatch& page);

// What a web hook or a broker is told: the words as UTF-8, the hit's names,
// frequency and talkgroup, why it alerted and when (ISO 8601).
AlertFacts FactsOfAlert(const AlertText& text, const LiveHit& hit, std::string reason, std::string timeIso);

}  // namespace quorvane
