#include "memory/MemoryPlace.h"

#include "memory/MemoryValues.h"

namespace quorvane {

std::string PlaceStep(const char* label, std::size_t number, const std::string& nameBytes) {
    return PlaceStep(label, number) + " \"" + ScannerText(nameBytes) + "\"";
}

std::string PlaceStep(const char* label, std::size_t number) {
    return std::string(label) + " " + std::to_string(number + 1);
}

std::string SystemPlace(std::size_t s, const System& system) {
    return PlaceStep("system", s, system.fields[system_field::Name]);
}

std::string GroupPlace(const std::string& systemPlace, std::size_t g, const Group& group, bool site) {
    return systemPlace + " " + PlaceStep(site ? "site" : "group", g, group.fields[group_field::Name]);
}

std::string ChannelPlace(const std::string& groupPlace, std::size_t c, const Channel& channel) {
    return groupPlace + " " + PlaceStep("channel", c, channel.fields[channel_field::Name]);
}

std::string TalkgroupPlace(const std::string& groupPlace, std::size_t t, const Talkgroup& talkgroup) {
    return groupPlace + " " + PlaceStep("talkgroup", t, talkgroup.fields[talkgroup_field::Name]);
}

std::string TrunkFrequencyPlace(const std::string& sitePlace, std::size_t f) {
    return sitePlace + " " + PlaceStep("frequency", f);
}

}  // namespace quorvane
