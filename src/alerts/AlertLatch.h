#pragma once
#include <optional>

#include "alerts/AlertList.h"
#include "monitor/TickOutcome.h"

namespace quorvane {

// Follows the hits the poll reports and says which one alerts: the first
// report of a hit (its start, or a later tick's names) that matches the list
// alerts, and nothing more of that hit until the next one starts. A hit the
// automatic skip moved past never alerts.
class AlertLatch {
public:
    // The hit to alert for on this tick, if any.
    std::optional<LiveHit> Follow(const TickOutcome& outcome, const AlertList& list);

    // Whether the hit being followed alerted already.
    bool Alerted() const { return alerted_; }

private:
    bool alerted_ = false;
};

}  // namespace quorvane
