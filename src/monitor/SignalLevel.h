#pragma once
#include <optional>
#include <string_view>

namespace quorvane {

// The scanner's signal level from the frequency reply's field 1: 0 to 255.
// Anything else (empty, blanks, letters, a left-over of another reply, a
// number out of range) is no level at all.
std::optional<int> ParseSignalLevel(std::string_view field);

// The levels seen during one hit: the strongest and the rounded mean.
class SignalTally {
public:
    void Add(int level);
    void Clear() { *this = SignalTally{}; }
    std::optional<int> Peak() const;
    std::optional<int> Average() const;

private:
    int peak_ = 0;
    long long sum_ = 0;
    long long count_ = 0;
};

}  // namespace quorvane
