#include "base/ScreenGlyphs.h"

namespace quorvane {
namespace {

const char16_t kHighGlyphs[32] = {
    0x20AC, 0x2591, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x2592, 0x017D, 0x2593,
    0x25AB, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x25AA, 0x017E, 0x0178,
};

}  // namespace

char32_t ScreenGlyph(unsigned char byte) {
    if (byte >= 0x20 && byte < 0x7F) return byte;
    if (byte == 0x10) return 0x25B6;  // the scanner's tone marker
    if (byte < 0x20) return 0x2400 + byte;
    if (byte == 0x7F) return 0x2421;
    return Windows1252Glyph(byte);
}

char32_t Windows1252Glyph(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kHighGlyphs[byte - 0x80];
    return byte;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string ScreenTextUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        AppendUtf8(text, byte == '\n' ? U'\n' : ScreenGlyph(byte));
    }
    return text;
}

}  // namespace quorvane
