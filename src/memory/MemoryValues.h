#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Numbers.h"

namespace quorvane {

// Values of the scanner's memory fields: frequencies, bands, tones, steps,
// and the text form of scanner bytes in the memory file.

// "154.4300" from the digits "01544300" (any number of digits, 100 Hz units).
std::string FrequencyMhzText(const std::string& digits);
// The 8 digits of 100 Hz of MHz text with at most 4 decimals ("154.43",
// "154.4300", "851"); nothing for any other text or above 9999.9999 MHz.
std::optional<std::string> FrequencyDigits(std::string_view mhzText);

// A receive range of the scanner in 100 Hz units, both ends included.
struct Band {
    long low;
    long high;
};
// The BC246T's ranges: 25-54, 108-174, 216-225, 400-512 MHz, 806-956 MHz
// without the two cellular blocks (824-849 and 869-894 MHz), 1240-1300 MHz.
const std::vector<Band>& ScannerBands();
bool InScannerBands(const std::string& digits);
// "25-54, 108-174, ..." for messages.
std::string ScannerBandsText();

// CTCSS/DCS codes a channel stores: 0 none, 127 tone search, 64-113 the 50
// CTCSS tones, 128-231 the 104 DCS codes.
bool IsKnownTone(long code);
// "None", "Search", "CTCSS 88.5 Hz", "DCS 023"; empty for an unknown code.
std::string ToneLabel(long code);

// The units people use for a channel's tone, step and modulation, and back
// to the scanner's codes (the memory file keeps the codes):
//   tone: "None", "Search", "67.0 Hz" (CTCSS), "DCS 023"; typed also "67",
//         "67.0", "100.0 PL", "CTCSS 88.5 Hz", "D023", "023 DPL", "D023N",
//         "CSQ"/"off" for none. A whole number is a CTCSS tone in Hz when
//         there is one, else a DCS code ("131" is DCS 131, "100" 100.0 Hz);
//   step: "Auto", "5 kHz", "12.5 kHz"; typed also "12.5", "6.25khz", "auto";
//   modulation: "Auto", "AM", "FM", "NFM"; typed in any case, "FMN" for NFM.
// An empty text stays empty (the scanner's default). A text that is none of
// these gives nothing, and *problem says what is taken.
std::string ToneUnits(const std::string& code);
std::string StepUnits(const std::string& code);
std::string ModulationUnits(const std::string& modulation);
std::optional<std::string> ToneCode(std::string_view typed, std::string* problem);
std::optional<std::string> StepCode(std::string_view typed, std::string* problem);
std::optional<std::string> ModulationCode(std::string_view typed, std::string* problem);
// Every value in those units, as a list to choose from.
std::vector<std::string> ToneChoices();
std::vector<std::string> StepChoices();
std::vector<std::string> ModulationChoices();

// The search steps a channel stores, in 10 Hz units (0 is automatic).
const std::vector<long>& SearchSteps();
bool IsSearchStep(long step);

// Scanner bytes as the memory file's text (UTF-8): each byte is the
// character the window shows for it (ScreenGlyph): printable ASCII as
// itself, 0x10 as U+25B6, other control bytes as the control pictures
// (U+2400 + byte), 0x7F as U+2421, 0x80-0x9F as the Windows-1252
// characters (U+2591, U+2592, U+2593, U+25AB, U+25AA where that code page
// has none), 0xA0-0xFF as Latin-1. Every byte has its own character, so
// ScannerBytes gives the bytes back.
std::string ScannerText(std::string_view bytes);
// The bytes of such text; nothing when it holds a character no byte shows
// (*bad then says which) or is not UTF-8.
std::optional<std::string> ScannerBytes(std::string_view utf8, char32_t* bad = nullptr);

}  // namespace quorvane
