#include "memory/MemoryValues.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>

#include "base/ScreenGlyphs.h"
#include "base/AsciiCase.h"
#include "base/Trim.h"

namespace quorvane {
namespace {

// The CTCSS tones (tenths of Hz) of codes 64 on, the DCS codes of 128 on.
constexpr std::array<int, 50> kCtcssTenths = {
    670,  693,  719,  744,  770,  797,  825,  854,  885,  915,  948,  974,  1000, 1035, 1072, 1109, 1148,
    1188, 1230, 1273, 1318, 1365, 1413, 1462, 1514, 1567, 1598, 1622, 1655, 1679, 1713, 1738, 1773, 1799,
    1835, 1862, 1899, 1928, 1966, 1995, 2035, 2065, 2107, 2181, 2257, 2291, 2336, 2418, 2503, 2541};
constexpr std::array<int, 104> kDcsCodes = {
    23,  25,  26,  31,  32,  36,  43,  47,  51,  53,  54,  65,  71,  72,  73,  74,  114, 115, 116, 122, 125,
    131, 132, 134, 143, 145, 152, 155, 156, 162, 165, 172, 174, 205, 212, 223, 225, 226, 243, 244, 245, 246,
    251, 252, 255, 261, 263, 265, 266, 271, 274, 306, 311, 315, 325, 331, 332, 343, 346, 351, 356, 364, 365,
    371, 411, 412, 413, 423, 431, 432, 445, 446, 452, 454, 455, 462, 464, 465, 466, 503, 506, 516, 523, 526,
    532, 546, 565, 606, 612, 624, 627, 631, 632, 654, 662, 664, 703, 712, 723, 731, 732, 734, 743, 754};
constexpr long kFirstCtcss = 64;
constexpr long kFirstDcs = 128;
constexpr long kToneSearch = 127;


// The next code point of UTF-8 text, or nothing when the bytes are not UTF-8.
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) return lead;
    int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (more < 0 || lead > 0xF4 || at + more > text.size()) return std::nullopt;
    char32_t c = lead & (0x3F >> more);
    for (; more > 0; --more) {
        const auto next = static_cast<unsigned char>(text[at++]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (next & 0x3F);
    }
    return c;
}

const std::map<char32_t, char>& ByteOfGlyph() {
    static const std::map<char32_t, char> map = [] {
        std::map<char32_t, char> glyphs;
        for (int byte = 0; byte < 256; ++byte)
            glyphs[ScreenGlyph(static_cast<unsigned char>(byte))] = static_cast<char>(byte);
        return glyphs;
    }();
    return map;
}

}  // namespace

std::string FrequencyMhzText(const std::string& digits) {
    std::string padded = digits;
    if (padded.size() < 5) padded.insert(0, 5 - padded.size(), '0');
    std::string whole = padded.substr(0, padded.size() - 4);
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size() - 1));
    return whole + "." + padded.substr(padded.size() - 4);
}

std::optional<std::string> FrequencyDigits(std::string_view mhzText) {
    const std::size_t point = mhzText.find('.');
    const std::string_view whole = mhzText.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? "" : mhzText.substr(point + 1);
    const auto digitsOnly = [](std::string_view text) {
        return text.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (whole.empty() || whole.size() > 4 || fraction.size() > 4 || !digitsOnly(whole) || !digitsOnly(fraction))
        return std::nullopt;
    if (point != std::string_view::npos && fraction.empty()) return std::nullopt;
    std::string digits = std::string(4 - whole.size(), '0') + std::string(whole) + std::string(fraction);
    digits.append(4 - fraction.size(), '0');
    return digits;
}

const std::vector<Band>& ScannerBands() {
    static const std::vector<Band> bands = {
        {250000, 540000},   {1080000, 1740000}, {2160000, 2250000},   {4000000, 5120000},
        {8060000, 8239875}, {8490125, 8689875}, {8940125, 9560000}, {12400000, 13000000},
    };
    return bands;
}

bool InScannerBands(const std::string& digits) {
    if (digits.empty() || digits.size() > 8 || digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const long units = std::stol(digits);
    return std::any_of(ScannerBands().begin(), ScannerBands().end(),
                       [units](const Band& band) { return units >= band.low && units <= band.high; });
}

std::string ScannerBandsText() {
    std::string text;
    for (const Band& band : ScannerBands()) {
        if (!text.empty()) text += ", ";
        text += FrequencyMhzText(std::to_string(band.low)) + "-" + FrequencyMhzText(std::to_string(band.high));
    }
    return text + " MHz";
}

bool IsKnownTone(long code) { return !ToneLabel(code).empty(); }

std::string ToneLabel(long code) {
    if (code == 0) return "None";
    if (code == kToneSearch) return "Search";
    char text[32] = "";
    if (code >= kFirstCtcss && code < kFirstCtcss + static_cast<long>(kCtcssTenths.size())) {
        const int tenths = kCtcssTenths[static_cast<std::size_t>(code - kFirstCtcss)];
        std::snprintf(text, sizeof text, "CTCSS %d.%d Hz", tenths / 10, tenths % 10);
    } else if (code >= kFirstDcs && code < kFirstDcs + static_cast<long>(kDcsCodes.size())) {
        std::snprintf(text, sizeof text, "DCS %03d", kDcsCodes[static_cast<std::size_t>(code - kFirstDcs)]);
    }
    return text;
}

const std::vector<long>& SearchSteps() {
    static const std::vector<long> steps = {0, 500, 625, 750, 1000, 1250, 1500, 2000, 2500, 5000, 10000, 20000};
    return steps;
}

bool IsSearchStep(long step) {
    return std::find(SearchSteps().begin(), SearchSteps().end(), step) != SearchSteps().end();
}

namespace {

// Takes `affix` off the front or back of text (and the blanks beside it).
bool TakeOff(std::string& text, std::string_view affix) {
    if (text.size() >= affix.size() && text.compare(0, affix.size(), affix) == 0) {
        text = TrimBlanks(LowerAscii(text.substr(affix.size())));
        return true;
    }
    if (text.size() >= affix.size() && text.compare(text.size() - affix.size(), affix.size(), affix) == 0) {
        text = TrimBlanks(LowerAscii(text.substr(0, text.size() - affix.size())));
        return true;
    }
    return false;
}

// A decimal number in hundredths ("12.5" -> 1250), at most two decimals.
std::optional<long> Hundredths(const std::string& text) {
    const std::size_t point = text.find('.');
    const std::string whole = text.substr(0, point);
    const std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
    if (fraction.size() > 2 || (point != std::string::npos && fraction.empty())) return std::nullopt;
    const std::optional<long> units = WholeNumber(whole);
    const std::optional<long> parts = fraction.empty() ? 0L : WholeNumber(fraction);
    if (!units || *units < 0 || *units > 100000 || !parts) return std::nullopt;
    return *units * 100 + *parts * (fraction.size() == 1 ? 10 : 1);
}

std::optional<long> DcsCode(const std::string& digits) {
    if (digits.size() != 3 || digits.find_first_not_of("01234567") != std::string::npos) return std::nullopt;
    const auto found = std::find(kDcsCodes.begin(), kDcsCodes.end(), std::stoi(digits));
    if (found == kDcsCodes.end()) return std::nullopt;
    return kFirstDcs + (found - kDcsCodes.begin());
}

std::optional<long> CtcssCode(long hundredths) {
    if (hundredths % 10 != 0) return std::nullopt;
    const auto found = std::find(kCtcssTenths.begin(), kCtcssTenths.end(), hundredths / 10);
    if (found == kCtcssTenths.end()) return std::nullopt;
    return kFirstCtcss + (found - kCtcssTenths.begin());
}

std::optional<std::string> Refused(std::string* problem, std::string_view typed, const char* what) {
    if (problem) *problem = "\"" + std::string(typed) + "\" is not " + what;
    return std::nullopt;
}

}  // namespace

std::string ToneUnits(const std::string& code) {
    const std::optional<long> number = WholeNumber(code);
    const std::string label = number ? ToneLabel(*number) : "";
    if (label.rfind("CTCSS ", 0) == 0) return label.substr(6);
    return label.empty() ? code : label;
}

std::optional<std::string> ToneCode(std::string_view typed, std::string* problem) {
    constexpr const char* kTaken = "a tone: a CTCSS tone in Hz (67.0), a DCS code (DCS 023, D023), None or Search";
    std::string text = TrimBlanks(LowerAscii(typed));
    if (text.empty()) return std::string();
    if (text == "none" || text == "off" || text == "csq") return std::string("0");
    if (text == "search") return std::to_string(kToneSearch);
    bool dcs = TakeOff(text, "dcs") || TakeOff(text, "dpl");
    if (!dcs && text.size() > 1 && text[0] == 'd') {
        text = text.substr(1);
        dcs = true;
    }
    if (dcs) {
        if (text.size() == 4 && text.back() == 'n') text.pop_back();  // "D023N": normal polarity
        const std::optional<long> code = DcsCode(text);
        if (!code) return Refused(problem, typed, kTaken);
        return std::to_string(*code);
    }
    const bool hertz = TakeOff(text, "ctcss") | TakeOff(text, "hz") | TakeOff(text, "pl");
    const std::optional<long> hundredths = Hundredths(text);
    if (!hundredths) return Refused(problem, typed, kTaken);
    if (const std::optional<long> code = CtcssCode(*hundredths)) return std::to_string(*code);
    if (!hertz && text.find('.') == std::string::npos)
        if (const std::optional<long> code = DcsCode(std::string(3 - std::min<std::size_t>(text.size(), 3), '0') + text))
            return std::to_string(*code);
    return Refused(problem, typed, kTaken);
}

std::vector<std::string> ToneChoices() {
    std::vector<std::string> choices = {"None", "Search"};
    for (long code = kFirstCtcss; code < kFirstCtcss + static_cast<long>(kCtcssTenths.size()); ++code)
        choices.push_back(ToneUnits(std::to_string(code)));
    for (long code = kFirstDcs; code < kFirstDcs + static_cast<long>(kDcsCodes.size()); ++code)
        choices.push_back(ToneUnits(std::to_string(code)));
    return choices;
}

std::string StepUnits(const std::string& code) {
    const std::optional<long> step = WholeNumber(code);
    if (!step || !IsSearchStep(*step)) return code;
    if (*step == 0) return "Auto";
    std::string text = std::to_string(*step / 100);
    if (*step % 100) text += "." + std::to_string(*step % 100 / 10) + (*step % 10 ? std::to_string(*step % 10) : "");
    return text + " kHz";
}

std::optional<std::string> StepCode(std::string_view typed, std::string* problem) {
    std::string text = TrimBlanks(LowerAscii(typed));
    if (text.empty()) return std::string();
    if (text == "auto") return std::string("0");
    TakeOff(text, "khz");
    const std::optional<long> step = Hundredths(text);
    if (!step || *step == 0 || !IsSearchStep(*step)) {
        std::string steps;
        for (const std::string& each : StepChoices()) steps += (steps.empty() ? "" : ", ") + each;
        return Refused(problem, typed, ("a step the scanner knows (" + steps + ")").c_str());
    }
    return std::to_string(*step);
}

std::vector<std::string> StepChoices() {
    std::vector<std::string> choices;
    for (const long step : SearchSteps()) choices.push_back(StepUnits(std::to_string(step)));
    return choices;
}

std::string ModulationUnits(const std::string& modulation) { return modulation == "AUTO" ? "Auto" : modulation; }

std::optional<std::string> ModulationCode(std::string_view typed, std::string* problem) {
    const std::string text = TrimBlanks(LowerAscii(typed));
    if (text.empty()) return std::string();
    if (text == "auto") return std::string("AUTO");
    if (text == "am") return std::string("AM");
    if (text == "fm") return std::string("FM");
    if (text == "nfm" || text == "fmn") return std::string("NFM");
    return Refused(problem, typed, "a modulation (Auto, AM, FM or NFM)");
}

std::vector<std::string> ModulationChoices() { return {"Auto", "AM", "FM", "NFM"}; }

std::string ScannerText(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const char byte : bytes) AppendUtf8(text, ScreenGlyph(static_cast<unsigned char>(byte)));
    return text;
}

std::optional<std::string> ScannerBytes(std::string_view utf8, char32_t* bad) {
    std::string bytes;
    for (std::size_t at = 0; at < utf8.size();) {
        const std::optional<char32_t> c = NextCodePoint(utf8, at);
        if (!c) {
            if (bad) *bad = 0xFFFD;
            return std::nullopt;
        }
        const auto found = ByteOfGlyph().find(*c);
        if (found == ByteOfGlyph().end()) {
            if (bad) *bad = *c;
            return std::nullopt;
        }
        bytes += found->second;
    }
    return bytes;
}

}  // namespace quorvane
