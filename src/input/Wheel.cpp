#include "input/Wheel.h"

namespace quorvane {

std::optional<std::string> Wheel::Turn(int angleDelta) {
    if (angleDelta == 0) return std::nullopt;
    const int64_t delta = angleDelta;
    const bool forward = delta > 0;
    if (pending_ != 0 && (pending_ > 0) != forward) pending_ = 0;

    const int64_t magnitude = forward ? delta : -delta;
    if (magnitude >= kWheelNotch) {
        // A whole notch (or more) in one event: one step, nothing carried.
        pending_ = 0;
    } else {
        pending_ += delta;
        const int64_t sum = pending_ > 0 ? pending_ : -pending_;
        if (sum < kWheelNotch) return std::nullopt;
        // Below a notch per event the sum stays under two notches: one step,
        // the rest carried towards the next.
        pending_ += forward ? -kWheelNotch : kWheelNotch;
    }
    wheelForward_ = forward;
    return std::string(forward ? "key_right" : "key_left");
}

}  // namespace quorvane
