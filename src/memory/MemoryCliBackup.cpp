#include "memory/MemoryCliBackup.h"

#include <cstdio>
#include <string>

#include "memory/MemoryPlace.h"

namespace quorvane {
namespace {

using namespace memory_json;

// The file:
//   {"meta": {...}, "info": {"model", "firmware"},
//    "settings": {"backlight": "AF", "battery_save": true, "key_beep": true,
//                 "greeting": ["line 1", "line 2"], "priority_mode": 0},
//    "systems": [{"system_type": "CNV", "name", "quick_key": 1-10 or null, "hold_time", "lockout",
//                 "attenuation", "delay_time", "data_skip", "emergency_alert",
//                 "groups": [{"group_type": "C", "group_name", "quick_key", "lockout",
//                             "channels": [{"name", "frequency": 100 Hz units as a number, "search_step",
//                                           "modulation", "ctcss_dcs_mode", "ctcss_dcs_tone_lockout",
//                                           "lockout", "priority", "attenuation", "alert"}]}]}]}
// Settings it leaves out are the scanner's defaults (as that program writes
// them); it holds no lockouts, quick key lists or trunked systems.


std::string CliValue(const Json& object, const char* key, const std::string& place, const char* fallback) {
    const auto found = object.find(key);
    if (found == object.end() || found->is_null()) return fallback;
    if (found->is_boolean()) return found->get<bool>() ? "1" : "0";
    if (found->is_number_integer()) return std::to_string(found->get<long long>());
    return BytesOf(*found, place, key);
}

// Quick keys are 1 to 10 there, "0" for 10 on the scanner; none is ".".
std::string CliQuickKey(const Json& object, const std::string& place, long position) {
    const auto found = object.find("quick_key");
    if (found == object.end()) return position <= 10 ? std::to_string(position % 10) : ".";
    if (found->is_null()) return ".";
    if (!found->is_number_integer() || found->get<long long>() < 1 || found->get<long long>() > 10)
        Fail(place, "\"quick_key\" must be 1 to 10 or null");
    return std::to_string(found->get<long long>() % 10);
}

}  // namespace

bool IsCliBackup(const Json& top) { return top.is_object() && top.contains("info") && !top.contains("model"); }

ScannerMemory ReadCliBackup(const Json& top) {
    ScannerMemory memory;
    const Json& info = ObjectAt(top.at("info"), "info");
    memory.model = CliValue(info, "model", "info", "");
    memory.firmware = CliValue(info, "firmware", "info", "");
    if (const auto found = top.find("settings"); found != top.end() && !found->is_null()) {
        const Json& settings = ObjectAt(*found, "settings");
        ScannerSettings kept;
        kept.lockoutsKnown = false;
        const std::pair<const char*, const char*> flat[] = {
            {"backlight", "BLT"}, {"battery_save", "BSV"}, {"key_beep", "KBP"}, {"priority_mode", "PRI"}};
        for (const auto& [key, setting] : flat) {
            const std::string value = CliValue(settings, key, "settings", "");
            if (!value.empty()) kept.values[setting] = value;
        }
        if (const Json* greeting = ListAt(settings, "greeting", "settings")) {
            if (greeting->size() != 2) Fail("settings", "\"greeting\" must be two lines");
            kept.values["OMS"] = BytesOf((*greeting)[0], "settings", "greeting") + "," +
                                 BytesOf((*greeting)[1], "settings", "greeting");
        }
        memory.settings = std::move(kept);
    }
    const Json* systems = ListAt(top, "systems", "");
    if (systems == nullptr) Fail("", "\"systems\" is missing");
    for (std::size_t s = 0; s < systems->size(); ++s) {
        const Json& value = ObjectAt((*systems)[s], PlaceStep("system", s));
        System system;
        system.type = CliValue(value, "system_type", PlaceStep("system", s), "");
        const std::string place = PlaceStep("system", s, CliValue(value, "name", PlaceStep("system", s), ""));
        if (system.type != kConventionalType) Fail(place, "only conventional systems (\"CNV\") are read from this file");
        system.fields = {CliValue(value, "name", place, ""),    CliQuickKey(value, place, static_cast<long>(s) + 1),
                         CliValue(value, "hold_time", place, "2"), CliValue(value, "lockout", place, "0"),
                         CliValue(value, "attenuation", place, "0"), CliValue(value, "delay_time", place, "2"),
                         CliValue(value, "data_skip", place, "0"), CliValue(value, "emergency_alert", place, "0")};
        const Json* groups = ListAt(value, "groups", place);
        for (std::size_t g = 0; groups && g < groups->size(); ++g) {
            const Json& groupValue = ObjectAt((*groups)[g], place + " " + PlaceStep("group", g));
            Group group;
            const std::string name = CliValue(groupValue, "group_name", place, "");
            const std::string groupPlace = place + " " + PlaceStep("group", g, name);
            group.fields = {name, CliQuickKey(groupValue, groupPlace, static_cast<long>(g) + 1),
                            CliValue(groupValue, "lockout", groupPlace, "0")};
            const Json* channels = ListAt(groupValue, "channels", groupPlace);
            for (std::size_t c = 0; channels && c < channels->size(); ++c) {
                const std::string at = groupPlace + " " + PlaceStep("channel", c);
                const Json& item = ObjectAt((*channels)[c], at);
                const auto frequency = item.find("frequency");
                if (frequency == item.end() || !frequency->is_number_unsigned() || frequency->get<unsigned long long>() > 99999999)
                    Fail(at, "\"frequency\" must be a whole number of 100 Hz");
                char digits[16];
                std::snprintf(digits, sizeof digits, "%08llu", frequency->get<unsigned long long>());
                Channel channel;
                channel.fields = {CliValue(item, "name", at, ""),      digits,
                                  CliValue(item, "search_step", at, "0"), CliValue(item, "modulation", at, "AUTO"),
                                  CliValue(item, "ctcss_dcs_mode", at, "0"),
                                  CliValue(item, "ctcss_dcs_tone_lockout", at, "0"), CliValue(item, "lockout", at, "0"),
                                  CliValue(item, "priority", at, "0"),    CliValue(item, "attenuation", at, "0"),
                                  CliValue(item, "alert", at, "0")};
                group.channels.push_back(std::move(channel));
            }
            system.groups.push_back(std::move(group));
        }
        memory.systems.push_back(std::move(system));
    }
    return memory;
}

}  // namespace quorvane
