#include "alerts/AlertText.h"

#include <charconv>

#include "base/Fields.h"
#include "base/ScreenGlyphs.h"

namespace quorvane {
namespace {

// A trunked hit is known by its talkgroup, any other by its frequency.
std::string WhereText(const LiveHit& hit) {
    const std::string id = TrimBlanks(hit.TalkgroupId);
    if (hit.TrunkedHit && !id.empty()) return "ID " + id;
    const std::string frequency = TrimBlanks(hit.FreqShown);
    return frequency.empty() ? std::string() : frequency + " MHz";
}

// "349.0 Hz", with a decimal point whatever the user's locale.
std::string Hertz(double hz) {
    char digits[32];
    const auto written = std::to_chars(digits, digits + sizeof digits, hz, std::chars_format::fixed, 1);
    return std::string(digits, written.ec == std::errc() ? written.ptr : digits) + " Hz";
}

}  // namespace

AlertText DescribeAlert(const LiveHit& hit) {
    const std::string system = TrimBlanks(hit.SystemText);
    const std::string group = TrimBlanks(hit.GroupText);
    const std::string channel = TrimBlanks(hit.ChannelText);
    const std::string where = WhereText(hit);

    AlertText text;
    for (const std::string* name : {&channel, &group, &system, &where}) {
        if (text.Summary.empty()) text.Summary = *name;
    }
    if (text.Summary.empty()) text.Summary = "Alert";

    std::string names = system;  // "system / group", either alone when the other is unknown
    if (!group.empty()) names.append(names.empty() ? "" : " / ").append(group);
    for (const std::string& line : {names, channel, where}) {
        if (line.empty()) continue;
        if (!text.Body.empty()) text.Body += '\n';
        text.Body += line;
    }
    text.Line = "Alert: " + text.Summary;
    if (!where.empty() && where != text.Summary) text.Line += ", " + where;
    return text;
}

AlertText DescribeTonePage(const LiveHit& hit, const ToneWatch& page) {
    const AlertText onHit = DescribeAlert(hit);
    AlertText text;
    text.Summary = page.Label;
    text.Body = "Tones " + Hertz(page.FirstHz) + ", " + Hertz(page.SecondHz) + "\n" + onHit.Body;
    text.Line = "Page: " + page.Label + ", " + onHit.Summary;
    return text;
}

AlertFacts FactsOfAlert(const AlertText& text, const LiveHit& hit, std::string reason, std::string timeIso) {
    AlertFacts facts;
    facts.Title = ScreenTextUtf8(text.Summary);
    facts.Message = ScreenTextUtf8(text.Body);
    facts.Reason = std::move(reason);
    facts.System = ScreenTextUtf8(TrimBlanks(hit.SystemText));
    facts.Group = ScreenTextUtf8(TrimBlanks(hit.GroupText));
    facts.Channel = ScreenTextUtf8(TrimBlanks(hit.ChannelText));
    facts.Frequency = MegahertzText(hit.RawFrequency);
    if (hit.TrunkedHit) facts.Talkgroup = TrimBlanks(hit.TalkgroupId);
    facts.Time = std::move(timeIso);
    return facts;
}

}  // namespace quorvane
