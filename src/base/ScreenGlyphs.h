#pragma once
#include <string>
#include <string_view>

namespace quorvane {

// The glyph each scanner byte is shown as: printable ASCII as itself, the
// scanner's tone marker 0x10 as a triangle, other control bytes as the
// Unicode control pictures, 0x80..0x9F as the Windows-1252 characters (a
// dotted square where that code page leaves a hole), the rest as Latin-1.
// Every byte gets a visible glyph, so a fixed-pitch display keeps one column
// per byte.
char32_t ScreenGlyph(unsigned char byte);

// The Windows-1252 reading of a byte (notes files): like ScreenGlyph for
// 0x80..0x9F, the byte's own code point otherwise.
char32_t Windows1252Glyph(unsigned char byte);

// Appends the UTF-8 encoding of c (a code point below U+10000) to out.
void AppendUtf8(std::string& out, char32_t c);

// Scanner bytes as UTF-8 screen text, CR LF and LF each one line break.
std::string ScreenTextUtf8(std::string_view bytes);

}  // namespace quorvane
