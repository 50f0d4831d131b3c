#pragma once
#include <cstdint>
#include <vector>

#include "RadioView.h"
#include "Scenario.h"

namespace quorvane {

// Milliseconds since the simulator started.
using SimTime = std::int64_t;

// Where the radio's scan is: which step it plays, and whether it sits out the
// scan delay after a transmission (squelch closed, everything else as during
// the transmission) before it moves on. Time only moves forward through
// Update; the keys move the scan directly.
class Timeline {
public:
    Timeline(std::vector<ScanStep> steps, int scan_delay_ms, bool once, SimTime start = 0);

    // Moves the scan on to where it is at time now.
    void Update(SimTime now);

    // What the scan shows (before any prompt or tuning is laid over it).
    RadioView View() const;
    // The step played now; nullptr when there are no steps.
    const ScanStep* Current() const;
    std::size_t StepIndex() const { return index_; }
    bool InScanDelay() const { return phase_ == Phase::ScanDelay; }
    // A once-only scan has played every step and stays on the last one.
    bool Finished() const { return finished_; }
    // Counts the steps entered so far; tells one visit of a step from the next.
    std::uint64_t Entries() const { return entries_; }

    // ">": skips the rest of the current transmission (and its scan delay).
    void Next(SimTime now);
    // "<": back to the start of the previous step.
    void Previous(SimTime now);

    // Hold: the current step plays to its end (a transmission still ends and
    // its scan delay begins) but the scan does not move to another channel.
    void SetHeld(bool held, SimTime now);
    bool Held() const { return held_; }

    // Paused: time stands still for the scan (tuned away, programming mode).
    void SetPaused(bool paused, SimTime now);
    bool Paused() const { return paused_; }

private:
    enum class Phase { Step, ScanDelay };

    SimTime PhaseLength() const;
    bool NextContinues(std::size_t index) const;
    std::size_t GroupStart(std::size_t index) const;
    // Moves past the phase that ended at time at; false when the scan stays.
    bool Advance(SimTime at);
    bool MoveToNextStep(SimTime at);
    void Enter(std::size_t index, SimTime at);

    std::vector<ScanStep> steps_;
    SimTime scan_delay_;
    bool once_;
    SimTime cycle_ = 0;  // length of one pass over every step
    std::size_t index_ = 0;
    Phase phase_ = Phase::Step;
    SimTime phase_start_;
    bool finished_ = false;
    bool held_ = false;
    bool paused_ = false;
    SimTime paused_at_ = 0;
    std::uint64_t entries_ = 1;
};

}  // namespace quorvane
