#pragma once
#include <string>
#include <string_view>

namespace quorvane {

// What the frequency text reads when the scanner reports all zeros; such a
// tick leaves the frequency box alone.
inline constexpr std::string_view kNoFrequencyText = "    .0000";

// The frequency box text for the eight WIN digits: the first four, ".", the
// last four; carriage returns, "STS", "OK" and "KEY" removed (left-overs of
// other replies); leading zeros dropped; blanks in front up to 9 characters.
// "01544750" gives " 154.4750".
std::string FrequencyText(std::string_view rawFrequency);

// The tone or code the display shows at the end of its second line, whole:
// a tone with its unit ("100.0Hz"), a DCS code with its word ("C023 DCS"),
// otherwise the last word ("CC12"). The tone marker byte 0x10 and blanks
// around it are left out.
std::string ToneOrCodeText(std::string_view line2);

// The display box (Text1): line 1, CR LF, line 2, CR LF.
std::string DisplayBoxText(std::string_view line1, std::string_view line2);

// The display on one line: line 1 without outer blanks, "/", line 2 without
// the " \x82 " separators and the \x81 glyphs. The minimized window's caption
// shows it.
std::string OneLineDisplay(std::string_view line1, std::string_view line2);
// The one-line display bar: a blank, then the display on one line.
std::string FloatingTaskbarText(std::string_view line1, std::string_view line2);

}  // namespace quorvane
