#pragma once
#include <QString>
#include <string>

namespace quorvane {

// Scanner bytes as screen text: printable ASCII as itself, CR LF and LF as a
// line break, every other byte as a visible glyph of a fixed-pitch font, so
// the display keeps one column per byte.
QString ScreenText(const std::string& bytes);

// A notes file as text: Windows-1252, line ends and tabs kept.
QString Windows1252Text(const std::string& bytes);

// Text typed by the user (macros, folder names) back to 8-bit bytes; characters
// beyond Latin-1 become "?".
std::string BytesFromScreen(const QString& text);

}  // namespace quorvane
