#include "ui/ScannerText.h"

#include "monitor/LogText.h"
#include "ui/AppFiles.h"

namespace quorvane {
namespace {

// Glyphs for the bytes 0x80..0x9F: the Windows-1252 characters where there
// is one, a dotted square where that code page leaves a hole.
const char16_t kHighGlyphs[32] = {
    0x20AC, 0x2591, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x2592, 0x017D, 0x2593,
    0x25AB, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x25AA, 0x017E, 0x0178,
};

QChar Glyph(unsigned char byte) {
    if (byte >= 0x20 && byte < 0x7F) return QChar(byte);
    if (byte == 0x10) return QChar(0x25B6);  // the scanner's tone marker
    if (byte < 0x20) return QChar(0x2400 + byte);
    if (byte == 0x7F) return QChar(0x2421);
    if (byte < 0xA0) return QChar(kHighGlyphs[byte - 0x80]);
    return QChar(byte);
}

}  // namespace

QString ScreenText(const std::string& bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        text += byte == '\n' ? QChar('\n') : Glyph(byte);
    }
    return text;
}

QString Windows1252Text(const std::string& bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += (byte >= 0x80 && byte < 0xA0) ? QChar(kHighGlyphs[byte - 0x80]) : QChar(byte);
    }
    return text;
}

std::string ScannerNamePath(std::string_view folder, std::string_view name) {
    // Joined as text, never resolved: a name is always a file inside folder.
    return JoinPath(folder, FileSystemBytes(ScreenText(std::string(name))));
}

std::string BytesFromScreen(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.size()));
    for (const QChar c : text) bytes += c.unicode() < 0x100 ? static_cast<char>(c.unicode()) : '?';
    return bytes;
}

}  // namespace quorvane
