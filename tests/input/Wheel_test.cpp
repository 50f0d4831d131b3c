#include "input/Wheel.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvane {
namespace {

using Keys = std::vector<std::string>;

TEST(Wheel, EventsGiveKnobSteps) {
    struct Case {
        std::vector<int> deltas;
        Keys keys;
    };
    const Keys right{"key_right"};
    const Keys left{"key_left"};
    const std::vector<Case> cases = {
        {{120}, right},
        {{-120}, left},
        {{100, 240, 30}, right},  // one step per notched event, no fraction kept past it
        {{-360, -120}, {"key_left", "key_left"}},
        {std::vector<int>(8, 15), right},  // fractions add up to a notch
        {{100, 100, 30, 10}, {"key_right", "key_right"}},  // 80 carried; 110 is no notch
        {{90, -60, -30, -30}, left},  // turning back starts the sum afresh
        {{0}, {}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        Wheel wheel;
        Keys keys;
        for (int delta : cases[i].deltas) {
            if (auto key = wheel.Turn(delta)) keys.push_back(*key);
        }
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(keys, cases[i].keys);
        EXPECT_EQ(wheel.WheelForward(), !keys.empty() && keys.back() == "key_right");
    }
}

}  // namespace
}  // namespace quorvane
