#include "tools/HitDelay.h"

#include <cmath>
#include <limits>
#include <string>

#include "base/Numbers.h"

namespace quorvane {

namespace {

long long Saturated(double value) {
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    constexpr double kLimit = 9223372036854775808.0;
    if (std::isnan(value)) return 0;
    if (value >= kLimit) return std::numeric_limits<long long>::max();
    if (value <= -kLimit) return std::numeric_limits<long long>::min();
    return static_cast<long long>(value);
}

}  // namespace

long long HitDelayFromText(std::string_view text) { return Saturated(RoundHalfToEven(LeadingNumber(text))); }

bool IsUsableHitDelay(long long milliseconds) {
    return milliseconds >= kHitDelayMin && milliseconds <= kHitDelayMax;
}

}  // namespace quorvane
