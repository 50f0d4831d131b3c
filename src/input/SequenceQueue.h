#pragma once
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "input/Step.h"

namespace quorvane {

// Runs key sequences in arrival order without blocking the window: the
// window enqueues a click's steps, calls Pump with the current time, sends
// what it returns, and calls Pump again at NextWakeMs. A wait of n ms holds
// back everything after it until n ms after the wait was reached, so the
// spacing on the wire is never shorter than the sequence asks for.
class SequenceQueue {
public:
    // Appends the steps after everything already queued.
    void Enqueue(const std::vector<Step>& steps);

    // True from the moment steps are queued until the last one, a trailing
    // wait included, has finished. The window holds its poll while busy.
    bool Busy() const { return !steps_.empty(); }

    // Every send now due, in order; stops at a wait that has not yet run
    // out (starting it if it was just reached).
    std::vector<std::string> Pump(int64_t nowMs);

    // When Pump has more to do: the end of the running wait, or the time of
    // the last Pump (that is, at once) when the next step has not started.
    // Empty when the queue is idle.
    std::optional<int64_t> NextWakeMs() const;

    // Drops everything not yet sent (for shutting the link).
    void Clear();

private:
    std::deque<Step> steps_;
    std::optional<int64_t> waitStartedMs_;  // set while the front wait runs
    int64_t lastPumpMs_ = 0;
};

}  // namespace quorvane
