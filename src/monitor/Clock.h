#pragma once
#include <string>

namespace quorvane {

// The time of day as the hit log writes it ("2:51:13 PM": hour without a
// leading zero, minutes and seconds with two digits, AM or PM). The window
// reads the system clock; tests use a fake.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::string TimeOfDayText() = 0;
};

}  // namespace quorvane
