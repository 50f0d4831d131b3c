#pragma once
#include <optional>
#include <string>

#include "RadioView.h"
#include "Scenario.h"
#include "StoredMemory.h"
#include "Timeline.h"

namespace quorvane {

// The whole state of the simulated radio: its scan, what the keys and
// commands have done to it, and its stored memory. No I/O, no clock: every
// call is told the time.
class RadioState {
public:
    explicit RadioState(const Scenario& scenario, SimTime start = 0);

    // What the radio shows at time now (the scan first moves on to now).
    RadioView View(SimTime now);

    // A key press "KEY,<key>,<mode>" with mode "P" or "H" (a release "R" does nothing).
    void PressKey(char key, SimTime now);
    // "QSH": tuned to digits with modulation ("FM", "NFM", "AM" or empty)
    // until the Scan key; the scan waits meanwhile.
    void Tune(const std::string& digits, const std::string& modulation, SimTime now);
    bool Tuned() const { return tuned_.has_value(); }

    // "PRG" / "EPG"; the scan waits while programming mode is on, and after
    // "EPG" stays on Scan Hold (Scan().Held()) until the Scan key ("KEY,S,P").
    void SetProgramming(bool on, SimTime now);
    bool Programming() const { return programming_; }

    // Shows view in place of the scan (not in programming mode) until cleared;
    // for tests that need a given display or a transmission at a given moment.
    void SetOverride(std::optional<RadioView> view) { override_ = std::move(view); }

    const Timeline& Scan() const { return timeline_; }
    const StoredMemory& Memory() const { return memory_; }
    StoredMemory& Memory() { return memory_; }

private:
    struct Tuning {
        std::string digits;
        std::string modulation;
    };

    void UpdatePause(SimTime now);
    RadioView TunedView() const;

    Timeline timeline_;
    StoredMemory memory_;
    std::optional<Tuning> tuned_;
    bool programming_ = false;
    std::optional<RadioView> override_;
    std::uint64_t prompt_answered_ = 0;  // timeline entry whose prompt got its key
};

// "154.4750" from the digits "01544750"; other texts come back as they are.
std::string FrequencyText(const std::string& digits);

}  // namespace quorvane
