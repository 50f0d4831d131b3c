#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace quorvane {

// One notch of an ordinary mouse wheel, in the units wheel events report
// (eighths of a degree).
inline constexpr int kWheelNotch = 120;

// Turns wheel events into knob steps: away from the user (positive delta)
// runs key_right, towards the user key_left. A notched wheel gives one step
// per event, whatever the event's size; high-resolution wheels and touchpads
// report fractions of a notch, which add up until a whole notch is reached.
// Turning the other way starts the sum afresh.
class Wheel {
public:
    // The key whose click action this event runs, or nothing yet.
    std::optional<std::string> Turn(int angleDelta);

    // Direction of the last step: true when it went away from the user.
    bool WheelForward() const { return wheelForward_; }

    // Forgets a partial notch (for example when the window loses the wheel).
    void Reset() { pending_ = 0; }

private:
    int64_t pending_ = 0;  // signed sum of fractions since the last step
    bool wheelForward_ = false;
};

}  // namespace quorvane
