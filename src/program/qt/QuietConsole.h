#pragma once

namespace quorvane {

// Keeps the console for what the user should read. Qt's own chatter about a
// machine with no sound server or no runtime folder (warnings the user can
// do nothing about) is left out; the first sign that no sound server runs is
// said once, in plain words. Everything else goes out as before.
void InstallQuietConsole();

}  // namespace quorvane
