#pragma once
#include <string>

namespace quorvane {

// Command texts as handed to ScannerLink::Send (which adds the CR).
inline constexpr const char* kStatusRequest = "STS";
inline constexpr const char* kTalkgroupRequest = "GID";
inline constexpr const char* kFrequencyRequest = "WIN";
inline constexpr const char* kEnterProgramming = "PRG";
inline constexpr const char* kExitProgramming = "EPG";
// The Scan key, pressed: back to scanning after Program Mode.
inline constexpr const char* kScanAfterProgramming = "KEY,S,P";
inline constexpr const char* kFirstSystemRequest = "SIH";

// "KEY," key "," mode; key and mode are single letters or symbols.
std::string KeyCommand(char key, char mode);
// "QSH," digits ",0," modulation ",0,.,.,.,.,."
std::string TuneCommand(const std::string& digits, const std::string& modulation);
// "SIN," / "GIN," / "CIN," followed by the index exactly as the scanner gave it.
std::string SystemRequest(const std::string& index);
std::string GroupRequest(const std::string& index);
std::string ChannelRequest(const std::string& index);

}  // namespace quorvane
