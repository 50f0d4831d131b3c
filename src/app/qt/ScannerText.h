#pragma once
#include <QString>
#include <string>
#include <string_view>

namespace quorvane {

// Scanner bytes as screen text: printable ASCII as itself, CR LF and LF as a
// line break, every other byte as a visible glyph of a fixed-pitch font, so
// the display keeps one column per byte.
QString ScreenText(const std::string& bytes);

// A notes file as text: Windows-1252, line ends and tabs kept.
QString Windows1252Text(const std::string& bytes);

// A file named from scanner text under a folder (file-system bytes in and
// out): the name is mapped as on screen, so the byte 0xE9 is "é" on disk.
std::string ScannerNamePath(std::string_view folder, std::string_view name);

// Text typed by the user (macros) back to 8-bit bytes; characters
// beyond Latin-1 become "?".
std::string BytesFromScreen(const QString& text);

}  // namespace quorvane
