#pragma once
#include <string_view>

namespace quorvane {

// The delay a harvest waits after each command, in milliseconds.
inline constexpr long long kHitDelayMin = 0;
inline constexpr long long kHitDelayMax = 32767;

// The numeric value of the text of the delay list (`hit_intel_dly`): the
// number the text starts with (blanks and tabs before it skipped; an optional
// sign, digits, a fraction and an exponent such as "1e3"), so "250" gives 250,
// "25 ms" gives 25 and text that does not start with a number gives 0. A
// fraction is rounded to the nearest whole number, halves to the even one
// ("2.5" gives 2, "3.5" gives 4). Values beyond long long are held at its ends.
long long HitDelayFromText(std::string_view text);

// True for the delays a harvest can run with (0 to 32767).
bool IsUsableHitDelay(long long milliseconds);

}  // namespace quorvane
