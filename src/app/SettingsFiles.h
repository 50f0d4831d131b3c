#pragma once
#include <array>
#include <optional>
#include <string>

namespace quorvane {

inline constexpr const char* kComSettingsFile = "com_settings.txt";
inline constexpr const char* kMacroSettingsFile = "macro_settings.txt";
inline constexpr const char* kPgmSettingsFile = "pgm_settings.txt";

inline constexpr int kPortCount = 10;        // port list "1" .. "10"
inline constexpr int kSpeedCount = 4;        // 9600, 19200, 38400, 57600
inline constexpr int kTabCount = 6;          // Log, Extended Info, Tuner, Settings, History, Memory
inline constexpr int kStateCount = 56;       // "AK" .. "WY"
inline constexpr int kDelayCount = 17;       // harvest delay list: 16 delays, then "Auto"
inline constexpr int kDefaultPollInterval = 100;
// The scanner needs tens of milliseconds to answer a round of requests, and a
// timer cannot count beyond 16 bits of milliseconds here.
inline constexpr int kMinPollInterval = 20;
inline constexpr int kMaxPollInterval = 65535;
inline constexpr int kDefaultStateIndex = 37;  // "NY"
inline constexpr int kDefaultDelayIndex = 4;   // "250"

// com_settings.txt: port list index, speed list index, poll interval.
// A value that is missing or outside its list reads as "nothing chosen" (-1),
// which keeps the link stopped with its prompts.
// A poll interval of 0 keeps the default; one below kMinPollInterval is
// raised to it, one beyond kMaxPollInterval falls back to the default, and
// pollIntervalNotice then says so in a few words for the display.
struct ComSettings {
    int portIndex = -1;
    int speedIndex = -1;
    int pollInterval = kDefaultPollInterval;
    std::string pollIntervalNotice;
};
ComSettings ReadComSettings(const std::string& bytes);
std::string WriteComSettings(const ComSettings& settings);

// macro_settings.txt: the three macro texts, double quotes removed both ways.
using MacroTexts = std::array<std::string, 3>;
MacroTexts ReadMacroSettings(const std::string& bytes);
std::string WriteMacroSettings(const MacroTexts& macros);

// pgm_settings.txt: eleven values. Each field holds what the file said when
// the line was present and usable; otherwise the documented default stays.
struct PgmSettings {
    std::optional<int> tab;  // none: the start-up choice (Settings tab on a first run) stays
    int recordAudio = 0;
    int logText = 0;
    int alwaysOnTop = 0;
    int stateIndex1 = kDefaultStateIndex;
    int stateIndex2 = kDefaultStateIndex;
    int layoutCode = 1;  // 1 "full" .. 7 "display_floating_taskbar"
    std::optional<double> left;  // window edges in twips
    std::optional<double> top;
    std::string logDirectory;
    int delayIndex = kDefaultDelayIndex;
};
PgmSettings ReadPgmSettings(const std::string& bytes, PgmSettings defaults = {});
std::string WritePgmSettings(const PgmSettings& settings);

}  // namespace quorvane
