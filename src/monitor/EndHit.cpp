#include "monitor/EndHit.h"

#include <array>

#include "base/Fields.h"
#include "base/Trim.h"

namespace quorvane {
namespace {

// Columns of a table entry; a column the entry does not have is absent.
struct IntelColumns {
    std::array<std::optional<std::string_view>, 4> Columns;

    bool Equals(size_t column, std::string_view text) const {
        return Columns[column] && *Columns[column] == text;
    }
    void AssignTo(size_t column, std::string& target) const {
        if (Columns[column]) target.assign(*Columns[column]);
    }
};

// Matches column 0 against the frequency before splitting the rest, so that
// the walk over the whole table costs one comparison per entry.
std::optional<IntelColumns> ColumnsIfFrequency(std::string_view entry,
                                               std::string_view rawFrequency) {
    const size_t tab = entry.find('\t');
    if (entry.substr(0, tab) != rawFrequency) return std::nullopt;
    IntelColumns columns;
    columns.Columns[0] = entry.substr(0, tab);
    size_t start = tab;
    for (size_t c = 1; c < 4 && start != std::string_view::npos; ++c) {
        const size_t from = start + 1;
        start = entry.find('\t', from);
        columns.Columns[c] = entry.substr(from, start == std::string_view::npos
                                                    ? std::string_view::npos
                                                    : start - from);
    }
    return columns;
}

void TrimInPlace(std::string& text) {
    if (!text.empty() && (text.front() == ' ' || text.back() == ' ')) text = TrimBlanks(text);
}

// The scanner shows SCAN on a line of 16 characters, also rotated.
bool IsScanWord(std::string_view channel) {
    return channel == "SCAN" || channel == "N            SCA" || channel == "AN            SC" ||
           channel == "CAN            S";
}

// Names from entries on the hit's frequency; every entry is tried in table
// order against the names as earlier entries left them. Returns whether any
// entry supplied names.
bool NamesByFrequencyAndChannel(HitRecord& hit, const HitIntelTable& table,
                                std::string_view rawFrequency) {
    bool found = false;
    for (const std::string& entry : table.Entries()) {
        if (entry.empty()) continue;
        std::optional<IntelColumns> row = ColumnsIfFrequency(entry, rawFrequency);
        if (!row) continue;
        TrimInPlace(hit.ChannelText);
        if (row->Columns[1]) row->Columns[1] = Trimmed(*row->Columns[1], " ");
        if (row->Equals(1, hit.ChannelText)) {
            row->AssignTo(3, hit.SystemText);
            row->AssignTo(2, hit.GroupText);
            found = true;
        } else if (hit.ChannelText == "HOLDING") {
            TrimInPlace(hit.SystemText);
            if (row->Equals(3, hit.SystemText)) {
                row->AssignTo(3, hit.SystemText);
                row->AssignTo(2, hit.GroupText);
                row->AssignTo(1, hit.ChannelText);
                found = true;
            }
        } else if (IsScanWord(hit.ChannelText)) {
            row->AssignTo(3, hit.SystemText);
            row->AssignTo(2, hit.GroupText);
            row->AssignTo(1, hit.ChannelText);
            found = true;
        }
    }
    return found;
}

// The group of the last entry on the hit's frequency, whatever its channel.
void GroupByFrequency(HitRecord& hit, const HitIntelTable& table, std::string_view rawFrequency) {
    for (const std::string& entry : table.Entries()) {
        if (entry.empty()) continue;
        const std::optional<IntelColumns> row = ColumnsIfFrequency(entry, rawFrequency);
        if (!row) continue;
        TrimInPlace(hit.ChannelText);
        row->AssignTo(2, hit.GroupText);
    }
}

// The scanner marks a tone in hertz with two blanks and the 0x10 glyph.
constexpr std::string_view kToneMark = "Hz  \x10";

void CleanToneText(HitRecord& hit) {
    // The tone itself keeps its unit ("100.0Hz"): only the channel name loses the mark.
    if (Contains(hit.ChannelText, kToneMark)) {
        hit.ChannelText = RemoveAll(hit.ChannelText, kToneMark);
    }
}

std::string LogLine(const HitRecord& hit, const TickValues& values, std::string_view launchDate) {
    const std::string& fifth = hit.TrunkedHit ? values.TalkgroupId : hit.CodeText;
    std::string line;
    line.reserve(96);
    line.append(hit.SystemText).append(" / ").append(hit.GroupText).push_back('\t');
    line.append(hit.ChannelText).push_back('\t');
    line.append(hit.FreqShown).push_back('\t');
    line.append(fifth).push_back('\t');
    line.append(hit.StartTime).push_back('\t');
    line.append(hit.EndTime).push_back('\t');
    line.append(launchDate).append("\r\n");
    return line;
}

}  // namespace

HitEnded EndHit(HitRecord& hit, TickValues& values, const HitEndContext& context) {
    hit.EndTime = context.EndTime;

    const bool needLookup = hit.SystemText.empty() || hit.GroupText.empty();
    // Whether the table supplied names; no answer when no lookup ran.
    std::optional<bool> found;
    if (needLookup) found = NamesByFrequencyAndChannel(hit, context.Table, values.RawFrequency);
    CleanToneText(hit);
    // Nothing known and the system icon dark: the scanner was searching.
    if (found == false && !StartsWith(context.IconsSet1, "SYS")) hit.GroupText = "Search";

    TrimInPlace(hit.SystemText);
    TrimInPlace(hit.GroupText);
    TrimInPlace(hit.ChannelText);

    if (hit.GroupText.empty() && needLookup) {
        GroupByFrequency(hit, context.Table, values.RawFrequency);
    }

    HitEnded ended;
    if (!hit.SkipSent) ended.LogLine = LogLine(hit, values, context.LaunchDate);
    ended.Names = {hit.SystemText, hit.GroupText, hit.ChannelText, hit.FreqShown,
                   hit.CodeText,   values.TalkgroupId, hit.StartTime, hit.EndTime};
    ended.RawFrequency = values.RawFrequency;
    ended.TrunkedHit = hit.TrunkedHit;
    if (context.RecordAudioTicked && !hit.SkipSent) {
        ended.StopRecording = true;
        hit.Recording = false;
    }

    const bool recording = hit.Recording;
    hit = HitRecord{};
    hit.Recording = recording;
    values.TalkgroupId.clear();
    values.GidSystem.clear();
    values.GidGroup.clear();
    values.GidTalkgroup.clear();
    return ended;
}

}  // namespace quorvane
