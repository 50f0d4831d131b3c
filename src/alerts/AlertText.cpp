#include "alerts/AlertText.h"

#include "link/Fields.h"

namespace quorvane {
namespace {

// A trunked hit is known by its talkgroup, any other by its frequency.
std::string WhereText(const LiveHit& hit) {
    const std::string id = TrimBlanks(hit.TalkgroupId);
    if (hit.TrunkedHit && !id.empty()) return "ID " + id;
    const std::string frequency = TrimBlanks(hit.FreqShown);
    return frequency.empty() ? std::string() : frequency + " MHz";
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

}  // namespace quorvane
