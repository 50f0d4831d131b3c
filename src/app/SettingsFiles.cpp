#include "app/SettingsFiles.h"

#include "base/Numbers.h"

#include <cmath>
#include <vector>

#include "app/SettingsText.h"

namespace quorvane {
namespace {

// The list index on line n when it lies in [0, count); otherwise nothing.
std::optional<int> IndexLine(const std::vector<std::string>& lines, size_t n, int count) {
    if (n >= lines.size()) return std::nullopt;
    const auto value = AsSmallInteger(LeadingNumber(lines[n]));
    if (!value || *value < 0 || *value >= count) return std::nullopt;
    return value;
}

void ReadIndex(const std::vector<std::string>& lines, size_t n, int count, int& target) {
    if (const auto value = IndexLine(lines, n, count)) target = *value;
}

}  // namespace

ComSettings ReadComSettings(const std::string& bytes) {
    const auto lines = SettingsLines(bytes);
    ComSettings settings;
    ReadIndex(lines, 0, kPortCount, settings.portIndex);
    ReadIndex(lines, 1, kSpeedCount, settings.speedIndex);
    if (lines.size() > 2) {
        const double interval = LeadingNumber(lines[2]);
        if (interval == 0) {
            // keeps the default, as a missing line does
        } else if (interval < kMinPollInterval) {
            settings.pollInterval = kMinPollInterval;
            settings.pollIntervalNotice = "Poll raised to " + std::to_string(kMinPollInterval) + " ms";
        } else if (!(interval <= kMaxPollInterval)) {
            settings.pollIntervalNotice = "Poll set to " + std::to_string(kDefaultPollInterval) + " ms";
        } else {
            settings.pollInterval = static_cast<int>(std::lround(interval));
        }
    }
    return settings;
}

std::string WriteComSettings(const ComSettings& settings) {
    return NumberLine(settings.portIndex) + NumberLine(settings.speedIndex) +
           NumberLine(settings.pollInterval);
}

MacroTexts ReadMacroSettings(const std::string& bytes) {
    const auto lines = SettingsLines(bytes);
    MacroTexts macros;
    for (size_t i = 0; i < macros.size() && i < lines.size(); ++i) macros[i] = UnquotedText(lines[i]);
    return macros;
}

std::string WriteMacroSettings(const MacroTexts& macros) {
    std::string text;
    for (const auto& macro : macros) text += TextLine(UnquotedText(macro));
    return text;
}

namespace {

// A window edge in twips; one far off any screen (a damaged file) is no
// position, and the window keeps its default place.
std::optional<double> WindowEdge(const std::string& line) {
    constexpr double kFarthestTwips = 1'000'000;  // about 66000 pixels
    const double edge = LeadingNumber(line);
    if (edge < -kFarthestTwips || edge > kFarthestTwips) return std::nullopt;
    return edge;
}

}  // namespace

PgmSettings ReadPgmSettings(const std::string& bytes, PgmSettings settings) {
    const auto lines = SettingsLines(bytes);
    if (const auto tab = IndexLine(lines, 0, kTabCount)) settings.tab = tab;
    ReadIndex(lines, 1, 2, settings.recordAudio);
    ReadIndex(lines, 2, 2, settings.logText);
    ReadIndex(lines, 3, 2, settings.alwaysOnTop);
    ReadIndex(lines, 4, kStateCount, settings.stateIndex1);
    ReadIndex(lines, 5, kStateCount, settings.stateIndex2);
    if (lines.size() > 6) {
        // Codes outside 2..7 restore the full layout.
        const auto code = AsSmallInteger(LeadingNumber(lines[6]));
        settings.layoutCode = (code && *code >= 2 && *code <= 7) ? *code : 1;
    }
    if (lines.size() > 7) settings.left = WindowEdge(lines[7]);
    if (lines.size() > 8) settings.top = WindowEdge(lines[8]);
    if (lines.size() > 9) settings.logDirectory = UnquotedText(lines[9]);
    ReadIndex(lines, 10, kDelayCount, settings.delayIndex);
    return settings;
}

std::string WritePgmSettings(const PgmSettings& settings) {
    return NumberLine(settings.tab.value_or(0)) + NumberLine(settings.recordAudio) +
           NumberLine(settings.logText) + NumberLine(settings.alwaysOnTop) +
           NumberLine(settings.stateIndex1) + NumberLine(settings.stateIndex2) +
           NumberLine(settings.layoutCode) + NumberLine(settings.left.value_or(0)) +
           NumberLine(settings.top.value_or(0)) + TextLine(UnquotedText(settings.logDirectory)) +
           NumberLine(settings.delayIndex);
}

}  // namespace quorvane
