#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// The line format shared by the three settings files: 8-bit text, one value
// per line, CR LF line ends, numbers as plain decimals, texts in double quotes.


// A number read from a line as a 16-bit whole number (rounded half to even,
// as list indexes, tab numbers and check-box values are taken). Nothing when
// it does not fit in 16 bits.
std::optional<int> AsSmallInteger(double value);

// Lines of a settings file; CR LF ends a line (a lone LF or CR too, so a file
// edited by hand on any system still reads). A final line end adds no line.
std::vector<std::string> SettingsLines(const std::string& bytes);

// A text line read back: every double quote removed.
std::string UnquotedText(std::string_view line);

// Writers of one line each (the CR LF included).
std::string NumberLine(double value);
std::string TextLine(std::string_view text);

}  // namespace quorvane
