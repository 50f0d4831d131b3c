#pragma once
#include <cstdint>
#include <optional>

namespace quorvane {

// How the platform's window system names a physical key in a key event.
enum class NativeKeyboard {
    Xkb,      // X11 and Wayland: the xkb key code, in the event's scan code
    Windows,  // the set-1 scan code
    MacOS,    // the virtual key code (kVK_ANSI_...)
};

#if defined(_WIN32)
inline constexpr NativeKeyboard kThisKeyboard = NativeKeyboard::Windows;
#elif defined(__APPLE__)
inline constexpr NativeKeyboard kThisKeyboard = NativeKeyboard::MacOS;
#else
inline constexpr NativeKeyboard kThisKeyboard = NativeKeyboard::Xkb;
#endif

// The digit (0..9) printed on the US layout for the key of the main
// keyboard's digit row that the native codes name, or nothing for any other
// key. The physical key decides, so Shift+6 is 6 on a German keyboard (where
// it types "&") and the unshifted "1" key is 1 on a French one (where it
// types "&" too).
std::optional<int> DigitRowKey(NativeKeyboard keyboard, uint32_t nativeScanCode, uint32_t nativeVirtualKey);

}  // namespace quorvane
