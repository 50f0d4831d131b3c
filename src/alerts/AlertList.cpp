#include "alerts/AlertList.h"
#include "base/AsciiCase.h"
#include "base/Numbers.h"
#include "base/Trim.h"

#include <algorithm>

namespace quorvane {
namespace {

// 999999.9999 MHz in units of 100 Hz still fits 32 bits; the scanner's own
// frequencies are four digits of MHz.
constexpr size_t kMostMegahertzDigits = 6;
constexpr std::uint32_t kUnitsPerMegahertz = 10000;

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// Digits without their leading zeros ("0" stays "0"), so "012345" is 12345.
std::string_view WithoutLeadingZeros(std::string_view digits) {
    const size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? digits.substr(digits.empty() ? 0 : digits.size() - 1)
                                           : digits.substr(first);
}

// Digits with exactly one decimal point ("154.43", "154.", ".5").
bool LooksLikeMegahertz(std::string_view text) {
    return std::count(text.begin(), text.end(), '.') == 1 && std::any_of(text.begin(), text.end(), IsDigit) &&
           std::all_of(text.begin(), text.end(), [](char c) { return IsDigit(c) || c == '.'; });
}

std::optional<AlertEntry> EntryOfLine(std::string_view line) {
    line = Trimmed(line);
    if (line.empty() || line.front() == '#') return std::nullopt;
    AlertEntry entry;
    if (AllDigits(line)) {
        entry.kind = AlertEntry::Kind::Talkgroup;
        entry.Text = WithoutLeadingZeros(line);
    } else if (LooksLikeMegahertz(line)) {
        const std::optional<std::uint32_t> units = FrequencyUnits(line);
        if (!units) return std::nullopt;  // more megahertz than any radio: it can match nothing
        entry.kind = AlertEntry::Kind::Frequency;
        entry.Frequency = *units;
    } else {
        entry.kind = AlertEntry::Kind::Text;
        entry.Text = LowerAscii(line);
    }
    return entry;
}

// The value after "name=" at the start of a line, the name in either case.
std::optional<std::string_view> ValueOf(std::string_view line, std::string_view name) {
    line = Trimmed(line);
    if (line.size() <= name.size() || line[name.size()] != '=' || LowerAscii(line.substr(0, name.size())) != name) {
        return std::nullopt;
    }
    return Trimmed(line.substr(name.size() + 1));
}

// A tone in Hz: digits with at most one decimal point, within what a
// scanner's audio carries.
std::optional<double> ToneHz(std::string_view text) {
    text = Trimmed(text);
    if (text.empty() || text.size() > 9 || std::count(text.begin(), text.end(), '.') > 1 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return IsDigit(c) || c == '.'; }) ||
        !std::any_of(text.begin(), text.end(), IsDigit)) {
        return std::nullopt;
    }
    double hz = 0;
    double scale = 0;  // 0 before the point, then 0.1, 0.01, ...
    for (const char c : text) {
        if (c == '.') {
            scale = 0.1;
        } else if (scale == 0) {
            hz = hz * 10 + (c - '0');
        } else {
            hz += (c - '0') * scale;
            scale /= 10;
        }
    }
    if (hz < kLowestToneHz || hz > kHighestToneHz) return std::nullopt;
    return hz;
}

// "349.0,433.7 Station 5": two tones and a name (the tones' own text when none).
std::optional<ToneWatch> ToneWatchOf(std::string_view value) {
    const size_t blank = value.find_first_of(" \t");
    const std::string_view pair = value.substr(0, blank);
    const size_t comma = pair.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const std::optional<double> first = ToneHz(pair.substr(0, comma));
    const std::optional<double> second = ToneHz(pair.substr(comma + 1));
    if (!first || !second) return std::nullopt;
    const std::string_view label = blank == std::string_view::npos ? "" : Trimmed(value.substr(blank));
    return ToneWatch{*first, *second, std::string(label.empty() ? pair : label)};
}

}  // namespace

AlertList AlertList::Parse(std::string_view fileBytes) {
    AlertList list;
    size_t start = 0;
    int number = 0;
    while (start <= fileBytes.size()) {
        size_t end = fileBytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = fileBytes.size();
        const std::string_view line = fileBytes.substr(start, end - start);
        // CR LF is one line end, so a file written on Windows numbers its lines alike.
        if (!(start > 0 && fileBytes[start - 1] == '\r' && end == start && end < fileBytes.size() &&
              fileBytes[end] == '\n')) {
            ++number;
        }
        if (const auto url = ValueOf(line, "notify")) {
            if (!url->empty()) list.hooks_.emplace_back(*url);
        } else if (const auto tones = ValueOf(line, "tones")) {
            if (std::optional<ToneWatch> watch = ToneWatchOf(*tones)) {
                list.tones_.push_back(std::move(*watch));
            } else {
                list.notices_.push_back("alerts.txt line " + std::to_string(number) + ": tones \"" +
                                        std::string(tones->substr(0, 40)) + "\" is not two tones in Hz (" +
                                        "e.g. tones=349.0,433.7 Station 5); ignored");
            }
        } else if (std::optional<AlertEntry> entry = EntryOfLine(line)) {
            list.entries_.push_back(std::move(*entry));
        }
        start = end + 1;
    }
    return list;
}

bool AlertList::Matches(const AlertSubject& subject) const {
    const std::string_view talkgroup = Trimmed(subject.TalkgroupId, " ");
    const std::string_view talkgroupDigits = AllDigits(talkgroup) ? WithoutLeadingZeros(talkgroup) : "";
    // The names in lower case, made once per subject and only when a text entry needs them.
    std::optional<std::string> names[3];
    for (const AlertEntry& entry : entries_) {
        switch (entry.kind) {
        case AlertEntry::Kind::Frequency:
            if (subject.Frequency == entry.Frequency) return true;
            break;
        case AlertEntry::Kind::Talkgroup:
            if (!talkgroupDigits.empty() && talkgroupDigits == entry.Text) return true;
            break;
        case AlertEntry::Kind::Text: {
            const std::string_view sources[3] = {subject.SystemText, subject.GroupText, subject.ChannelText};
            for (size_t i = 0; i < 3; ++i) {
                if (!names[i]) names[i] = LowerAscii(sources[i]);
                if (names[i]->find(entry.Text) != std::string::npos) return true;
            }
            break;
        }
        }
    }
    return false;
}

std::optional<std::uint32_t> FrequencyUnits(std::string_view megahertz) {
    megahertz = Trimmed(megahertz);
    if (!LooksLikeMegahertz(megahertz)) return std::nullopt;
    const size_t point = megahertz.find('.');
    const std::string_view whole = megahertz.substr(0, point);
    const std::string_view fraction = megahertz.substr(point + 1);
    const std::string_view wholeDigits = whole.empty() ? "0" : WithoutLeadingZeros(whole);
    if (wholeDigits.size() > kMostMegahertzDigits) return std::nullopt;
    std::uint32_t units = 0;
    for (const char c : wholeDigits) units = units * 10 + static_cast<std::uint32_t>(c - '0');
    units *= kUnitsPerMegahertz;
    std::uint32_t step = kUnitsPerMegahertz;
    for (size_t i = 0; i < 4; ++i) {
        step /= 10;
        if (i < fraction.size()) units += static_cast<std::uint32_t>(fraction[i] - '0') * step;
    }
    // Finer than 100 Hz: to the nearest step.
    if (fraction.size() > 4 && fraction[4] >= '5') ++units;
    return units;
}

std::optional<std::uint32_t> FrequencyDigitsUnits(std::string_view digits) {
    if (digits.size() != 8 || !AllDigits(digits) || digits == "00000000") return std::nullopt;
    std::uint32_t units = 0;
    for (const char c : digits) units = units * 10 + static_cast<std::uint32_t>(c - '0');
    return units;
}

std::string MegahertzText(std::string_view rawFrequency) {
    const std::optional<std::uint32_t> units = FrequencyDigitsUnits(rawFrequency);
    if (!units) return {};
    std::string fraction = std::to_string(*units % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    return std::to_string(*units / 10000) + "." + fraction;
}

AlertSubject SubjectOfHit(const LiveHit& hit) {
    return AlertSubject{hit.SystemText, hit.GroupText, hit.ChannelText, FrequencyDigitsUnits(hit.RawFrequency),
                        hit.TalkgroupId};
}

AlertSubject SubjectOfLogRow(const LogRow& row) {
    const std::string_view names = row.Fields[0];
    constexpr std::string_view kBetween = " / ";
    const size_t between = names.find(kBetween);
    AlertSubject subject;
    subject.SystemText = names.substr(0, between);
    if (between != std::string_view::npos) subject.GroupText = names.substr(between + kBetween.size());
    subject.ChannelText = row.Fields[1];
    subject.Frequency = FrequencyUnits(row.Fields[2]);
    subject.TalkgroupId = row.Fields[3];
    return subject;
}

}  // namespace quorvane
