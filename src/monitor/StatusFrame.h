#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// The status reply ("STS") split at its commas: always exactly 12 fields.
struct StatusFrame {
    static constexpr size_t kFieldCount = 12;
    std::array<std::string, kFieldCount> Fields;

    const std::string& DisplayLine1() const { return Fields[1]; }
    const std::string& DisplayLine2() const { return Fields[3]; }
    const std::string& IconFlags1() const { return Fields[5]; }
    const std::string& IconFlags2() const { return Fields[6]; }
    const std::string& HitIndicator() const { return Fields[9]; }
};

// A frame from one reply line (without its CR); nothing unless the line has
// exactly 12 comma-separated fields. Field 0 is not checked.
std::optional<StatusFrame> ParseStatusFrame(std::string_view reply);

// Whether the hit indicator (field 9) reads as the number 0, the mark of a
// transmission in progress. The leading number of the text counts, after any
// blanks ("0", " 0", "00", "0.0" are 0); a text without a leading number is
// not 0.
bool ShowsTransmission(std::string_view hitIndicator);

}  // namespace quorvane
