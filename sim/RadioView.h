#pragma once
#include <optional>
#include <string>

namespace quorvane {

// Width of each of the scanner's two display text lines.
inline constexpr std::size_t kDisplayWidth = 16;
// Icon flag strings as the radio sends them: one "0"/"1" per icon.
inline constexpr const char* kIconsOff1 = "000000000000000";    // 15 flags
inline constexpr const char* kIconsOff2 = "00000000000000000";  // 17 flags
// Signal level (WIN field 1) when a step names none: a quiet, steady noise
// floor with the squelch closed, a good signal while a transmission is heard.
inline constexpr int kIdleLevel = 0;
inline constexpr int kReceivingLevel = 142;
// Frequency digits of "no frequency".
inline constexpr const char* kNoFrequency = "00000000";
// Display line 2 while the radio waits for a key press.
inline constexpr const char* kPressAnyKey = " Press Any Key  ";
// Display while the radio is in programming mode.
inline constexpr const char* kRemoteModeLine = " Remote Mode    ";
inline constexpr const char* kKeypadLockLine = " Keypad Lock    ";

// Everything the radio shows and reports at one moment: the two display
// lines, the icons, whether a transmission is being received, the tuned
// frequency and the talkgroup of a trunked reception.
struct RadioView {
    std::string line1 = std::string(kDisplayWidth, ' ');
    std::string line2 = std::string(kDisplayWidth, ' ');
    std::string icons1 = kIconsOff1;
    std::string icons2 = kIconsOff2;
    bool receiving = false;           // squelch open
    std::string frequency = kNoFrequency;  // 8 digits: 4 of MHz, 4 of 100 Hz
    std::string tgid;                 // empty on a conventional channel
    std::string system;
    std::string group;
    std::string talkgroup;
    std::optional<int> level;         // 0-255; none: kIdleLevel or kReceivingLevel

    bool operator==(const RadioView&) const = default;
};

// text cut or padded with blanks to the display width.
std::string PadLine(const std::string& text);

}  // namespace quorvane
