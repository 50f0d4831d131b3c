#include "memory/MemoryFile.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <stdexcept>

#include "memory/MemoryCliBackup.h"
#include "memory/MemoryFields.h"
#include "memory/MemoryJson.h"
#include "memory/MemoryPlace.h"
#include "memory/MemorySettings.h"
#include "memory/MemoryValues.h"

namespace quorvane {
namespace {

using namespace memory_json;

// 2: the scanner's settings, group quick keys and lockouts. A file without
// "version" is of version 1 and restores with the scanner's settings kept.
constexpr long long kFileVersion = 2;
constexpr const char* kGroupQuickKeysKey = "groupQuickKeys";
constexpr const char* kLockedIdsKey = "lockedIds";
constexpr const char* kLockedFrequenciesKey = "lockedFrequencies";

Json TextArray(const std::vector<std::string>& values);

// ----- reading -----

std::string FieldValue(const FieldRule& field, const Json& value, const std::string& place) {
    const std::string key = field.key;
    switch (field.kind) {
        case FieldKind::Flag:
            if (!value.is_boolean()) Fail(place, "\"" + key + "\" must be true or false");
            return value.get<bool>() ? "1" : "0";
        case FieldKind::Number:
        case FieldKind::Tone:
        case FieldKind::Step: {
            if (!value.is_number_integer()) Fail(place, "\"" + key + "\" must be a whole number");
            const std::string number = value.is_number_unsigned() ? std::to_string(value.get<unsigned long long>())
                                                                   : std::to_string(value.get<long long>());
            // Beyond nine digits no setting's range reaches, nor the scanner's fields.
            if (!WholeNumber(number)) Fail(place, "\"" + key + "\" is " + number + ", far beyond any setting");
            return number;
        }
        case FieldKind::Frequency: {
            if (!value.is_string()) Fail(place, "\"" + key + "\" must be MHz text such as \"154.4300\"");
            const std::optional<std::string> digits = FrequencyDigits(value.get_ref<const std::string&>());
            if (!digits) {
                Fail(place, "\"" + key + "\" is \"" + value.get<std::string>() +
                                "\", not MHz text with up to 4 decimals such as \"154.4300\"");
            }
            return *digits;
        }
        case FieldKind::Name:
        case FieldKind::Text:
        case FieldKind::Tgid:
        case FieldKind::QuickKey:
        case FieldKind::Modulation:
        case FieldKind::FleetMap:
            break;
    }
    return BytesOf(value, place, key);
}

// Fields [from, to) of layout from the object's keys.
void ReadFields(const Json& object, const RecordLayout& layout, std::size_t from, std::size_t to, Fields& fields,
                const std::string& place) {
    for (std::size_t at = from; at < to; ++at) {
        const FieldRule& field = layout.fields[at];
        const auto found = object.find(field.key);
        if (found == object.end() || found->is_null()) {
            if (field.required) Fail(place, "\"" + std::string(field.key) + "\" is missing");
            fields[at].clear();
            continue;
        }
        fields[at] = FieldValue(field, *found, place);
    }
}

void RefuseUnknownKeys(const Json& object, const RecordLayout* layout, std::size_t from, std::size_t to,
                       std::initializer_list<const char*> more, const std::string& place) {
    std::set<std::string> known(more.begin(), more.end());
    if (layout != nullptr) {
        for (std::size_t at = from; at < to; ++at) known.insert(layout->fields[at].key);
    }
    for (const auto& item : object.items()) {
        if (!known.count(item.key())) Fail(place, "unknown field \"" + item.key() + "\"");
    }
}

// The settings are kept as the scanner's own field text.
std::string SettingText(const Json& value, const std::string& place, const std::string& key) {
    std::string text = BytesOf(value, place, key);
    if (const std::string why = SettingProblem(key, text); !why.empty()) Fail(place, why);
    return text;
}

std::vector<std::string> TextList(const Json& object, const char* key, const std::string& place) {
    std::vector<std::string> list;
    if (const Json* items = ListAt(object, key, place)) {
        for (const Json& item : *items) list.push_back(SettingText(item, place, key));
    }
    return list;
}

// The object fields of a record, all of it (layout has no array part). Its
// place is named with its name as soon as that can be read.
void ReadRecord(const Json& value, const RecordLayout& layout, Fields& fields, std::string place,
                std::initializer_list<const char*> more = {}) {
    const Json& object = ObjectAt(value, place);
    if (const auto name = object.find("name"); name != object.end() && name->is_string()) {
        if (const std::optional<std::string> bytes = ScannerBytes(name->get_ref<const std::string&>()))
            place += " \"" + ScannerText(*bytes) + "\"";
    }
    RefuseUnknownKeys(object, &layout, 0, layout.fields.size(), more, place);
    ReadFields(object, layout, 0, layout.fields.size(), fields, place);
}

// The array part of a record: up to (fields - arrayStart) / arrayElement objects.
void ReadArrayPart(const Json* list, const RecordLayout& layout, Fields& fields, const std::string& place) {
    if (list == nullptr) return;
    const std::size_t most = (layout.fields.size() - layout.arrayStart) / layout.arrayElement;
    if (list->size() > most)
        Fail(place, "\"" + std::string(layout.arrayKey) + "\" has " + std::to_string(list->size()) +
                        " entries; the scanner holds " + std::to_string(most));
    for (std::size_t e = 0; e < list->size(); ++e) {
        const std::string entryPlace = place + " " + PlaceStep(layout.arrayKey, e);
        const Json& object = ObjectAt((*list)[e], entryPlace);
        const std::size_t from = layout.arrayStart + e * layout.arrayElement;
        RefuseUnknownKeys(object, &layout, from, from + layout.arrayElement, {}, entryPlace);
        ReadFields(object, layout, from, from + layout.arrayElement, fields, entryPlace);
    }
}

Group ReadGroup(const Json& value, const std::string& systemPlace, std::size_t g, bool site, bool trunked) {
    Group group;
    const std::string numbered = systemPlace + " " + PlaceStep(site ? "site" : "group", g);
    ReadRecord(value, GroupLayout(), group.fields, numbered, {"channels", "talkgroups", "frequencies"});
    const std::string place = GroupPlace(systemPlace, g, group, site);
    const Json* channels = ListAt(value, "channels", place);
    const Json* talkgroups = ListAt(value, "talkgroups", place);
    const Json* frequencies = ListAt(value, "frequencies", place);
    if (site) {
        if (channels || talkgroups) Fail(place, "a site holds \"frequencies\", not channels or talkgroups");
    } else if (frequencies) {
        Fail(place, "\"frequencies\" belong in a site of a trunked system");
    } else if (channels && talkgroups) {
        Fail(place, "a group holds either \"channels\" or \"talkgroups\"");
    }
    group.type = talkgroups || (!channels && !site && trunked) ? kTalkgroupGroupType : kChannelGroupType;
    for (std::size_t c = 0; channels && c < channels->size(); ++c) {
        Channel channel;
        ReadRecord((*channels)[c], ChannelLayout(), channel.fields, place + " " + PlaceStep("channel", c));
        group.channels.push_back(std::move(channel));
    }
    for (std::size_t t = 0; talkgroups && t < talkgroups->size(); ++t) {
        Talkgroup talkgroup;
        ReadRecord((*talkgroups)[t], TalkgroupLayout(), talkgroup.fields, place + " " + PlaceStep("talkgroup", t));
        group.talkgroups.push_back(std::move(talkgroup));
    }
    for (std::size_t f = 0; frequencies && f < frequencies->size(); ++f) {
        TrunkFrequency frequency;
        ReadRecord((*frequencies)[f], TrunkFrequencyLayout(), frequency.fields, TrunkFrequencyPlace(place, f));
        group.frequencies.push_back(std::move(frequency));
    }
    return group;
}

System ReadSystem(const Json& value, std::size_t s) {
    System system;
    const std::string numbered = PlaceStep("system", s);
    ReadRecord(value, SystemLayout(), system.fields, numbered,
               {"type", "groups", "sites", "trunk", "bandPlan", kGroupQuickKeysKey, kLockedIdsKey});
    const std::string place = SystemPlace(s, system);
    const auto type = value.find("type");
    if (type == value.end() || type->is_null()) Fail(place, "\"type\" is missing");
    system.type = BytesOf(*type, place, "type");
    const bool trunked = IsTrunkedType(system.type);

    if (const auto trunk = value.find("trunk"); trunk != value.end() && !trunk->is_null()) {
        const std::string trunkPlace = place + " trunk";
        const Json& object = ObjectAt(*trunk, trunkPlace);
        RefuseUnknownKeys(object, &TrunkLayout(), 0, TrunkLayout().arrayStart, {"bands"}, trunkPlace);
        ReadFields(object, TrunkLayout(), 0, TrunkLayout().arrayStart, system.trunk, trunkPlace);
        ReadArrayPart(ListAt(object, "bands", trunkPlace), TrunkLayout(), system.trunk, trunkPlace);
    }
    ReadArrayPart(ListAt(value, "bandPlan", place), BandPlanLayout(), system.bandPlan, place);
    if (const auto keys = value.find(kGroupQuickKeysKey); keys != value.end() && !keys->is_null())
        system.groupQuickKeys = SettingText(*keys, place, kGroupQuickKeysKey);
    system.lockedIds = TextList(value, kLockedIdsKey, place);
    if (const Json* sites = ListAt(value, "sites", place)) {
        for (std::size_t g = 0; g < sites->size(); ++g)
            system.sites.push_back(ReadGroup((*sites)[g], place, g, true, trunked));
    }
    if (const Json* groups = ListAt(value, "groups", place)) {
        for (std::size_t g = 0; g < groups->size(); ++g)
            system.groups.push_back(ReadGroup((*groups)[g], place, g, false, trunked));
    }
    return system;
}

ScannerSettings ReadSettings(const Json& value) {
    const std::string place = "settings";
    ObjectAt(value, place);
    ScannerSettings settings;
    const std::vector<std::string>& keys = GlobalSettingKeys();
    for (const auto& item : value.items()) {
        if (item.key() == kLockedFrequenciesKey) continue;
        if (std::find(keys.begin(), keys.end(), item.key()) == keys.end())
            Fail(place, "unknown setting \"" + item.key() + "\"");
        if (!item.value().is_null()) settings.values[item.key()] = SettingText(item.value(), place, item.key());
    }
    settings.lockoutsKnown = value.contains(kLockedFrequenciesKey);
    settings.lockedFrequencies = TextList(value, kLockedFrequenciesKey, place);
    for (const std::string& frequency : settings.lockedFrequencies) {
        if (frequency.size() != 8 || frequency.find_first_not_of("0123456789") != std::string::npos)
            Fail(place, "locked-out frequency \"" + frequency + "\" is not 8 digits");
    }
    return settings;
}

ScannerMemory ReadMemory(const Json& top) {
    ScannerMemory memory;
    ObjectAt(top, "the file");
    RefuseUnknownKeys(top, nullptr, 0, 0, {"$schema", "version", "model", "firmware", "settings", "systems"}, "");
    if (const auto version = top.find("version"); version != top.end() && !version->is_null()) {
        if (!version->is_number_integer() || version->get<long long>() < 1)
            Fail("", "\"version\" must be a whole number from 1");
        if (version->get<long long>() > kFileVersion)
            Fail("", "version " + std::to_string(version->get<long long>()) + " is newer than this program reads (" +
                         std::to_string(kFileVersion) + ")");
    }
    if (const auto settings = top.find("settings"); settings != top.end() && !settings->is_null())
        memory.settings = ReadSettings(*settings);
    const auto model = top.find("model");
    if (model == top.end() || model->is_null()) Fail("", "\"model\" is missing");
    memory.model = BytesOf(*model, "", "model");
    if (const auto firmware = top.find("firmware"); firmware != top.end() && !firmware->is_null())
        memory.firmware = BytesOf(*firmware, "", "firmware");
    const Json* systems = ListAt(top, "systems", "");
    if (systems == nullptr) Fail("", "\"systems\" is missing");
    for (std::size_t s = 0; s < systems->size(); ++s) memory.systems.push_back(ReadSystem((*systems)[s], s));
    return memory;
}

// ----- writing -----

Json ValueOf(const FieldRule& field, const std::string& value) {
    switch (field.kind) {
        case FieldKind::Flag:
            if (value == "0" || value == "1") return value == "1";
            break;
        case FieldKind::Number:
        case FieldKind::Tone:
        case FieldKind::Step:
            if (const std::optional<long> number = WholeNumber(value)) return *number;
            break;
        case FieldKind::Frequency:
            if (FitsKind(field, value)) return FrequencyMhzText(value);
            break;
        case FieldKind::Name:
        case FieldKind::Text:
        case FieldKind::Tgid:
        case FieldKind::QuickKey:
        case FieldKind::Modulation:
        case FieldKind::FleetMap:
            break;
    }
    // A value that does not have its kind's form stays as text, so nothing
    // is lost; reading the file back names it.
    return ScannerText(value);
}

void WriteFields(Json& object, const RecordLayout& layout, std::size_t from, std::size_t to, const Fields& fields) {
    for (std::size_t at = from; at < to; ++at) {
        if (!fields[at].empty() || layout.fields[at].kind == FieldKind::Name)
            object[layout.fields[at].key] = ValueOf(layout.fields[at], fields[at]);
    }
}

bool AllEmpty(const Fields& fields, std::size_t from) {
    for (std::size_t at = from; at < fields.size(); ++at)
        if (!fields[at].empty()) return false;
    return true;
}

Json ArrayPart(const RecordLayout& layout, const Fields& fields) {
    Json list = Json::array();
    for (std::size_t from = layout.arrayStart; from < layout.fields.size(); from += layout.arrayElement) {
        Json entry = Json::object();
        WriteFields(entry, layout, from, from + layout.arrayElement, fields);
        list.push_back(std::move(entry));
    }
    return list;
}

template <class Record>
Json RecordList(const std::vector<Record>& records, const RecordLayout& layout) {
    Json list = Json::array();
    for (const Record& record : records) {
        Json object = Json::object();
        WriteFields(object, layout, 0, layout.fields.size(), record.fields);
        list.push_back(std::move(object));
    }
    return list;
}

Json GroupJson(const Group& group, bool site) {
    Json object = Json::object();
    WriteFields(object, GroupLayout(), 0, GroupLayout().fields.size(), group.fields);
    if (site) object["frequencies"] = RecordList(group.frequencies, TrunkFrequencyLayout());
    else if (group.type == kTalkgroupGroupType) object["talkgroups"] = RecordList(group.talkgroups, TalkgroupLayout());
    else object["channels"] = RecordList(group.channels, ChannelLayout());
    return object;
}

Json SystemJson(const System& system) {
    Json object = Json::object();
    object["name"] = ScannerText(system.fields[system_field::Name]);
    object["type"] = ScannerText(system.type);
    WriteFields(object, SystemLayout(), system_field::Name + 1, SystemLayout().fields.size(), system.fields);
    if (!AllEmpty(system.trunk, 0)) {
        Json trunk = Json::object();
        WriteFields(trunk, TrunkLayout(), 0, TrunkLayout().arrayStart, system.trunk);
        if (!AllEmpty(system.trunk, TrunkLayout().arrayStart)) trunk["bands"] = ArrayPart(TrunkLayout(), system.trunk);
        object["trunk"] = std::move(trunk);
    }
    if (!AllEmpty(system.bandPlan, 0)) object["bandPlan"] = ArrayPart(BandPlanLayout(), system.bandPlan);
    if (IsTrunkedType(system.type) || !system.sites.empty()) {
        Json sites = Json::array();
        for (const Group& site : system.sites) sites.push_back(GroupJson(site, true));
        object["sites"] = std::move(sites);
    }
    Json groups = Json::array();
    for (const Group& group : system.groups) groups.push_back(GroupJson(group, false));
    object["groups"] = std::move(groups);
    if (!system.groupQuickKeys.empty()) object[kGroupQuickKeysKey] = ScannerText(system.groupQuickKeys);
    if (!system.lockedIds.empty()) object[kLockedIdsKey] = TextArray(system.lockedIds);
    return object;
}

Json TextArray(const std::vector<std::string>& values) {
    Json list = Json::array();
    for (const std::string& value : values) list.push_back(ScannerText(value));
    return list;
}

Json SettingsJson(const ScannerSettings& settings) {
    Json object = Json::object();
    for (const std::string& key : GlobalSettingKeys()) {
        if (const auto found = settings.values.find(key); found != settings.values.end())
            object[key] = ScannerText(found->second);
    }
    if (settings.lockoutsKnown) object[kLockedFrequenciesKey] = TextArray(settings.lockedFrequencies);
    return object;
}

}  // namespace

std::optional<ScannerMemory> ReadMemoryJson(std::string_view text, const std::string& fileName,
                                            std::string* problem) {
    std::string what;
    try {
        const Json top = Json::parse(text.begin(), text.end());
        return IsCliBackup(top) ? ReadCliBackup(top) : ReadMemory(top);
    } catch (const Json::parse_error& error) {
        what = error.what();
        // "[json.exception.parse_error.101] parse error at line 3, column 7: ..."
        const std::size_t start = what.find("] ");
        what = "not JSON: " + (start == std::string::npos ? what : what.substr(start + 2));
    } catch (const FileProblem& fault) {
        what = fault.what();
    } catch (const Json::exception& error) {
        what = std::string("unreadable: ") + error.what();
    }
    if (problem) *problem = fileName + ": " + what;
    return std::nullopt;
}

std::string WriteMemoryJson(const ScannerMemory& memory) {
    Json top = Json::object();
    top["version"] = kFileVersion;
    top["model"] = ScannerText(memory.model);
    top["firmware"] = ScannerText(memory.firmware);
    if (memory.settings) top["settings"] = SettingsJson(*memory.settings);
    Json systems = Json::array();
    for (const System& system : memory.systems) systems.push_back(SystemJson(system));
    top["systems"] = std::move(systems);
    // Replacement never happens: every text came from ScannerText.
    return top.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace quorvane
