#pragma once

namespace quorvane {

// The program's name and version, as the window's footer, --version and the
// MQTT device show it.
inline constexpr const char* kVersionText = "BC246T Quorvane - V1.0b";

}  // namespace quorvane
