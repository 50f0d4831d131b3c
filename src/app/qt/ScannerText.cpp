#include "app/qt/ScannerText.h"

#include "base/ScreenGlyphs.h"
#include "base/Paths.h"
#include "app/qt/AppFiles.h"

namespace quorvane {

QString ScreenText(const std::string& bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        text += byte == '\n' ? QChar('\n') : QChar(static_cast<char16_t>(ScreenGlyph(byte)));
    }
    return text;
}

QString Windows1252Text(const std::string& bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += QChar(static_cast<char16_t>(Windows1252Glyph(byte)));
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
