#pragma once
#include <optional>
#include <string>

namespace quorvane {

// The scanner's frequency digits for a typed frequency such as "162.55":
// the text is split at every "."; the first piece (whole megahertz) gets
// "0"s in front until it has 4 characters, the second piece (the fraction)
// gets "0"s at the end until it has 4, and the two are joined without the
// point. Further pieces are ignored, nothing is ever cut and the characters
// are not checked: "1.2.3" gives "00012000", "162.55625" gives "016255625".
// Text without a "." is treated as a whole part with an empty fraction
// ("162" gives "01620000"); the tune handlers never pass such text.
std::string PadFrequency(const std::string& text);

// Whether typed text is taken as a frequency at all: it holds a ".".
bool HasPoint(const std::string& text);

// The modulation word of a direct-entry list index: 0 "FM", 1 "NFM", 2 "AM";
// anything else (no item chosen, typed text) gives an empty word.
std::string ModulationWord(int listIndex);

// The tuning command of a direct-entry panel, or nothing when the typed text
// has no ".".
std::optional<std::string> DirectTuneCommand(const std::string& typed, int modulationIndex);

}  // namespace quorvane
