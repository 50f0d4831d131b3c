#include "input/DigitRow.h"

namespace quorvane {
namespace {

// Each table holds the codes of the keys 1, 2, ... 9, 0 in the row's order.
constexpr uint32_t kXkbRow[10] = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
constexpr uint32_t kWindowsRow[10] = {0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B};
// kVK_ANSI_1 ... kVK_ANSI_9, kVK_ANSI_0: not in order on the Mac.
constexpr uint32_t kMacRow[10] = {0x12, 0x13, 0x14, 0x15, 0x17, 0x16, 0x1A, 0x1C, 0x19, 0x1D};

std::optional<int> Find(const uint32_t (&row)[10], uint32_t code) {
    for (int i = 0; i < 10; ++i) {
        if (row[i] == code) return (i + 1) % 10;
    }
    return std::nullopt;
}

}  // namespace

std::optional<int> DigitRowKey(NativeKeyboard keyboard, uint32_t nativeScanCode, uint32_t nativeVirtualKey) {
    switch (keyboard) {
    case NativeKeyboard::Xkb: return Find(kXkbRow, nativeScanCode);
    case NativeKeyboard::Windows: return Find(kWindowsRow, nativeScanCode);
    case NativeKeyboard::MacOS: return Find(kMacRow, nativeVirtualKey);
    }
    return std::nullopt;
}

}  // namespace quorvane
