#include "StoredMemory.h"

#include <algorithm>

#include "ReplyLine.h"

namespace quorvane {
namespace {

constexpr const char* kEnd = "-1";

// The settings of each record kind, one letter a field in set order:
// N name (up to 16 bytes), Q quick key ("." or a digit), D digits, S digits
// with an optional "-", F flag (0/1), H frequency (8 digits), M modulation,
// T talkgroup ID (digits and "-"), X fleet map (8 of 0-9, A-E). Every field
// may also be empty.
constexpr const char* kSystemFields = "NQDFFDFF";
constexpr const char* kGroupFields = "NQF";
constexpr const char* kChannelFields = "NHDMDFFFFF";
constexpr const char* kTalkgroupFields = "NTFF";
constexpr const char* kTrunkFrequencyFields = "HD";
constexpr const char* kTrunkFields = "FFFFFFDXHDDHDDHDD";
constexpr const char* kBandPlanFields = "HHDSHHDSHHDSHHDSHHDSHHDS";

bool AllOf(const std::string& text, const char* allowed) {
    return text.find_first_not_of(allowed) == std::string::npos;
}

bool Fits(char form, const std::string& value) {
    if (value.empty()) return true;
    switch (form) {
        case 'N': return value.size() <= 16;
        case 'Q': return value.size() == 1 && AllOf(value, ".0123456789");
        case 'D': return value.size() <= 9 && AllOf(value, "0123456789");
        case 'S': return value.size() <= 9 && AllOf(value.substr(value[0] == '-'), "0123456789") && value != "-";
        case 'F': return value == "0" || value == "1";
        case 'H': return value.size() == 8 && AllOf(value, "0123456789");
        case 'M': return value == "AUTO" || value == "FM" || value == "NFM" || value == "AM";
        case 'T': return value.size() <= 9 && AllOf(value, "0123456789-");
        case 'X': return value.size() == 8 && AllOf(value, "0123456789ABCDE");
        default: return false;
    }
}

bool IsTrunked(const std::string& type) { return type != "CNV"; }
bool HasBandPlan(const std::string& type) { return type == "M82C" || type == "M81C"; }
bool IsSystemType(const std::string& type) {
    static const char* const kTypes[] = {"CNV", "M82S", "M82P", "M92", "MV2", "MU2",  "M81S",
                                         "M81P", "EDN", "EDW",  "EDS", "LTR", "M82C", "M81C"};
    return std::find(std::begin(kTypes), std::end(kTypes), type) != std::end(kTypes);
}

std::string Neighbour(const std::vector<std::string>& list, const std::string& index, int step) {
    const auto at = std::find(list.begin(), list.end(), index);
    if (at == list.end()) return kEnd;
    if (step < 0) return at == list.begin() ? kEnd : *(at - 1);
    return at + 1 == list.end() ? kEnd : *(at + 1);
}

std::string Position(const std::vector<std::string>& list, const std::string& index) {
    return std::to_string(std::find(list.begin(), list.end(), index) - list.begin() + 1);
}

std::string Head(const std::vector<std::string>& list) { return list.empty() ? kEnd : list.front(); }
std::string Tail(const std::vector<std::string>& list) { return list.empty() ? kEnd : list.back(); }

std::vector<std::string> Defaults(const char* fields) {
    std::vector<std::string> values;
    for (const char* form = fields; *form; ++form) {
        switch (*form) {
            case 'Q': values.push_back("."); break;
            case 'F': values.push_back("0"); break;
            case 'H': values.push_back("00000000"); break;
            case 'M': values.push_back("AUTO"); break;
            case 'D': values.push_back("0"); break;
            default: values.push_back(""); break;
        }
    }
    return values;
}

}  // namespace

StoredMemory::StoredMemory(const std::vector<StoredSystem>& systems, std::size_t capacity, bool firmwareTrunkGroups)
    : firmware_trunk_groups_(firmwareTrunkGroups), capacity_(capacity) {
    ResetSettings();
    // Indexes are handed out in walk order: a system, its groups, each with its channels.
    for (const StoredSystem& system : systems) {
        const std::string s = Add(Kind::System, "CNV", "");
        records_[s].settings[0] = system.name;
        for (const StoredGroup& group : system.groups) {
            const std::string g = Add(Kind::Group, "C", s);
            records_[g].settings[0] = group.name;
            for (const StoredChannel& channel : group.channels) {
                const std::string c = Add(Kind::Channel, "", g);
                records_[c].settings[0] = channel.name;
                records_[c].settings[1] = channel.frequency;
                records_[c].settings[3] = channel.modulation;
            }
        }
    }
}

std::string StoredMemory::Take() {
    address_ += 32 + 16 * (count_++ % 5);
    return std::to_string(address_);
}

std::string StoredMemory::Add(Kind kind, const std::string& type, const std::string& owner) {
    const std::string index = Take();
    Record record;
    record.kind = kind;
    record.type = type;
    record.owner = owner;
    switch (kind) {
        case Kind::System:
            record.settings = Defaults(kSystemFields);
            record.settings[2] = "2";  // hold time
            record.settings[5] = "2";  // delay time
            if (IsTrunked(type)) {
                record.trunk = Defaults(kTrunkFields);
                for (std::size_t band = 8; band < record.trunk.size(); ++band) record.trunk[band].clear();
                record.trunk[7] = "00000000";
            }
            if (HasBandPlan(type)) record.band_plan = std::vector<std::string>(24);
            systems_.push_back(index);
            break;
        case Kind::Group: {
            record.settings = Defaults(kGroupFields);
            Record& system = records_.at(owner);
            (type == "T" ? system.talkgroup_groups : system.list).push_back(index);
            break;
        }
        case Kind::Channel:
        case Kind::Talkgroup:
        case Kind::TrunkFrequency:
            record.settings = Defaults(kind == Kind::Channel     ? kChannelFields
                                       : kind == Kind::Talkgroup ? kTalkgroupFields
                                                                 : kTrunkFrequencyFields);
            records_.at(owner).list.push_back(index);
            break;
    }
    records_[index] = std::move(record);
    return index;
}

void StoredMemory::Remove(const std::string& index) {
    const auto found = records_.find(index);
    if (found == records_.end()) return;
    Record record = std::move(found->second);
    records_.erase(found);
    for (const std::string& child : record.list) Remove(child);
    for (const std::string& child : record.talkgroup_groups) Remove(child);
    const auto drop = [&index](std::vector<std::string>& list) {
        list.erase(std::remove(list.begin(), list.end(), index), list.end());
    };
    if (record.kind == Kind::System) {
        drop(systems_);
    } else if (const auto owner = records_.find(record.owner); owner != records_.end()) {
        drop(owner->second.list);
        drop(owner->second.talkgroup_groups);
    }
}

const StoredMemory::Record* StoredMemory::Find(const std::string& index, Kind kind) const {
    const auto found = records_.find(index);
    return found != records_.end() && found->second.kind == kind ? &found->second : nullptr;
}

const std::vector<std::string>& StoredMemory::ListOf(const Record& owner, const std::string& index) const {
    const auto& groups = owner.talkgroup_groups;
    return std::find(groups.begin(), groups.end(), index) != groups.end() ? groups : owner.list;
}

std::string StoredMemory::FirstSystem() const { return Head(systems_); }

std::string StoredMemory::Answer(const std::vector<std::string>& f) {
    const std::string& word = f[0];
    if (word == "CLR") {
        if (f.size() != 1) return "ERR";
        records_.clear();
        systems_.clear();
        ResetSettings();
        return "CLR,OK";
    }
    if (word == "GLF" || word == "LOF" || word == "ULF" || word == "GLI" || word == "LOI" || word == "ULI")
        return Lockout(f);
    if (IsSettingWord(word)) return Setting(f);
    if (word == "MEM") {
        if (f.size() != 1) return "ERR";
        return "MEM," + std::to_string(capacity_ == 0 ? 100 : records_.size() * 100 / capacity_);
    }
    if (word == "CSY" || word == "AGC" || word == "AGT" || word == "ACC" || word == "ACT") return Create(f);
    if (word == "DSY" || word == "DGR" || word == "DCH") return Delete(f);
    if (f.size() == 2) return Read(word, f[1]);
    return Set(f);
}

std::string StoredMemory::Read(const std::string& word, const std::string& index) const {
    const std::string ng = word + ",NG";
    if (word == "SIN") {
        const Record* s = Find(index, Kind::System);
        if (!s) return ng;
        std::vector<std::string> reply = {"SIN", s->type};
        reply.insert(reply.end(), s->settings.begin(), s->settings.end());
        for (const std::string& link : {Neighbour(systems_, index, -1), Neighbour(systems_, index, +1), Head(s->list),
                                        Tail(s->list), Position(systems_, index)})
            reply.push_back(link);
        return ReplyLine(reply);
    }
    if (word == "TRN" || word == "MCP") {
        const Record* s = Find(index, Kind::System);
        if (!s || (word == "TRN" ? s->trunk.empty() : s->band_plan.empty())) return ng;
        std::vector<std::string> reply = {word};
        const std::vector<std::string>& settings = word == "TRN" ? s->trunk : s->band_plan;
        reply.insert(reply.end(), settings.begin(), settings.end());
        if (word == "TRN") {
            for (const std::string& link : {Head(s->talkgroup_groups), Tail(s->talkgroup_groups), std::string(kEnd),
                                            std::string(kEnd)})
                reply.push_back(link);
        }
        return ReplyLine(reply);
    }
    if (word == "GIN") {
        const Record* g = Find(index, Kind::Group);
        if (!g) return ng;
        const std::vector<std::string>& siblings = ListOf(records_.at(g->owner), index);
        std::vector<std::string> reply = {"GIN", g->type};
        reply.insert(reply.end(), g->settings.begin(), g->settings.end());
        for (const std::string& link : {Neighbour(siblings, index, -1), Neighbour(siblings, index, +1), g->owner,
                                        Head(g->list), Tail(g->list), Position(siblings, index)})
            reply.push_back(link);
        return ReplyLine(reply);
    }
    const Kind kind = word == "CIN" ? Kind::Channel : word == "TIN" ? Kind::Talkgroup : Kind::TrunkFrequency;
    if (word != "CIN" && word != "TIN" && word != "TFQ") return "ERR";
    const Record* m = Find(index, kind);
    if (!m) return ng;
    const Record& group = records_.at(m->owner);
    std::vector<std::string> reply = {word};
    reply.insert(reply.end(), m->settings.begin(), m->settings.end());
    for (const std::string& link :
         {Neighbour(group.list, index, -1), Neighbour(group.list, index, +1), group.owner, m->owner})
        reply.push_back(link);
    if (kind == Kind::Channel) reply.push_back("");
    return ReplyLine(reply);
}

namespace {

const char* SettingsOf(const std::string& word) {
    return word == "SIN"   ? kSystemFields
           : word == "GIN" ? kGroupFields
           : word == "CIN" ? kChannelFields
           : word == "TIN" ? kTalkgroupFields
           : word == "TFQ" ? kTrunkFrequencyFields
           : word == "TRN" ? kTrunkFields
           : word == "MCP" ? kBandPlanFields
                           : nullptr;
}

}  // namespace

bool StoredMemory::WellFormed(const std::vector<std::string>& f) {
    const std::string& word = f[0];
    if (word == "CLR" || word == "MEM") return f.size() == 1;
    if (IsSettingWord(word)) return true;  // Setting and Lockout check their own fields
    if (const char* fields = SettingsOf(word)) return f.size() == 2 || f.size() == 2 + std::char_traits<char>::length(fields);
    return f.size() == 2;  // appends and deletes
}

std::string StoredMemory::Set(const std::vector<std::string>& f) {
    const std::string& word = f[0];
    const char* fields = SettingsOf(word);
    if (fields == nullptr || f.size() != 2 + std::char_traits<char>::length(fields)) return "ERR";
    for (std::size_t at = 0; fields[at]; ++at)
        if (!Fits(fields[at], f[2 + at])) return "ERR";
    const Kind kind = word == "GIN"   ? Kind::Group
                      : word == "CIN" ? Kind::Channel
                      : word == "TIN" ? Kind::Talkgroup
                      : word == "TFQ" ? Kind::TrunkFrequency
                                      : Kind::System;
    const auto found = records_.find(f[1]);
    if (found == records_.end() || found->second.kind != kind) return word + ",NG";
    Record& record = found->second;
    std::vector<std::string>& settings = word == "TRN" ? record.trunk : word == "MCP" ? record.band_plan : record.settings;
    if (settings.empty()) return word + ",NG";  // TRN of a conventional system, MCP without a band plan
    for (std::size_t at = 0; at < settings.size(); ++at)
        if (!f[2 + at].empty()) settings[at] = f[2 + at];
    return word + ",OK";
}

std::string StoredMemory::Create(const std::vector<std::string>& f) {
    const std::string& word = f[0];
    if (f.size() != 2) return "ERR";
    if (word == "CSY" && !IsSystemType(f[1])) return "ERR";
    if (word == "CSY") {
        // The firmware's frequency group takes a record too.
        const bool site = firmware_trunk_groups_ && IsTrunked(f[1]);
        if (records_.size() + (site ? 2 : 1) > capacity_) return "CSY,-1";
        const std::string system = Add(Kind::System, f[1], "");
        if (site) records_[Add(Kind::Group, "C", system)].settings[0] = "Site 1";
        return "CSY," + system;
    }
    const bool toSystem = word == "AGC" || word == "AGT";
    const Record* owner = Find(f[1], toSystem ? Kind::System : Kind::Group);
    if (!owner) return word + ",NG";
    Kind kind = Kind::Group;
    std::string type;
    if (word == "AGT" && !IsTrunked(owner->type)) return word + ",NG";
    if (toSystem) {
        type = word == "AGT" ? "T" : "C";
    } else {
        // ACC adds a channel (a trunk frequency in a trunked system's site), ACT a talkgroup.
        if ((word == "ACT") != (owner->type == "T")) return word + ",NG";
        kind = word == "ACT" ? Kind::Talkgroup
               : IsTrunked(records_.at(owner->owner).type) ? Kind::TrunkFrequency
                                                            : Kind::Channel;
    }
    if (records_.size() >= capacity_) return word + ",-1";
    return word + "," + Add(kind, type, f[1]);
}

std::string StoredMemory::Delete(const std::vector<std::string>& f) {
    const std::string& word = f[0];
    if (f.size() != 2) return "ERR";
    const auto found = records_.find(f[1]);
    const bool fits = found != records_.end() &&
                      (word == "DSY"   ? found->second.kind == Kind::System
                       : word == "DGR" ? found->second.kind == Kind::Group
                                       : found->second.kind != Kind::System && found->second.kind != Kind::Group);
    if (!fits) return word + ",NG";
    Remove(f[1]);
    return word + ",OK";
}

namespace {

// Each setting's fields as a cleared radio has them.
const std::map<std::string, std::string>& DefaultSettings() {
    static const std::map<std::string, std::string> defaults = [] {
        std::map<std::string, std::string> list = {
            {"BLT", "AF"}, {"BSV", "1"}, {"KBP", "0"}, {"OMS", "BC246T,"}, {"PRI", "0"},
            {"SCO", "0,AUTO,0,2,0,0,00000000,0,256"}, {"CLC", "0,0,0,11111"}, {"CSG", "0000000000"},
            {"WPR", "0"}, {"QSL", "1111111111"}};
        for (int range = 1; range <= 10; ++range)
            list["CSP," + std::to_string(range % 10)] =
                "SRCH " + std::to_string(range) + ",00250000,00540000,0,AUTO,0,2,0";
        for (int group = 1; group <= 5; ++group)
            list["SGP," + std::to_string(group)] =
                "GROUP " + std::to_string(group) + ",--------,--------,--------,--------,--------,--------,--------,--------";
        return list;
    }();
    return defaults;
}

std::vector<std::string> SplitAtCommas(const std::string& text) {
    std::vector<std::string> fields(1);
    for (const char c : text) {
        if (c == ',') fields.emplace_back();
        else fields.back() += c;
    }
    return fields;
}

std::string JoinWithCommas(const std::vector<std::string>& fields, std::size_t from) {
    std::string text;
    for (std::size_t at = from; at < fields.size(); ++at) text += (at > from ? "," : "") + fields[at];
    return text;
}

// Returns the list's next value from the cursor, or "-1" (and starts over).
std::string NextOf(const std::vector<std::string>& list, std::size_t& cursor) {
    if (cursor >= list.size()) {
        cursor = 0;
        return kEnd;
    }
    return list[cursor++];
}

}  // namespace

bool StoredMemory::IsSettingWord(const std::string& word) {
    static const char* const kWords[] = {"BLT", "BSV", "KBP", "OMS", "PRI", "SCO", "CLC", "CSG", "CSP",
                                         "WPR", "SGP", "QSL", "QGL", "GLF", "LOF", "ULF", "GLI", "LOI", "ULI"};
    return std::find(std::begin(kWords), std::end(kWords), word) != std::end(kWords);
}

void StoredMemory::ResetSettings() {
    settings_ = DefaultSettings();
    locked_frequencies_.clear();
    locked_frequency_cursor_ = 0;
}

std::string StoredMemory::Setting(const std::vector<std::string>& f) {
    const std::string& word = f[0];
    std::string* value = nullptr;
    std::size_t first = 1;  // the first field of the value in a set
    if (word == "QGL") {
        if (f.size() < 2) return "ERR";
        const auto found = records_.find(f[1]);
        if (found == records_.end() || found->second.kind != Kind::System) return "QGL,NG";
        value = &found->second.group_quick_keys;
        first = 2;
        // "QGL,<index>" and "QGL,<index>," both read.
        if (f.size() == 2 || (f.size() == 3 && f[2].empty())) return "QGL," + *value;
    } else if (word == "CSP" || word == "SGP") {
        if (f.size() < 2) return "ERR";
        const std::string number = word == "CSP" && f[1] == "10" ? "0" : f[1];
        const auto found = settings_.find(word + "," + number);
        if (found == settings_.end()) return word + ",NG";
        value = &found->second;
        first = 2;
    } else {
        value = &settings_.at(word);
    }
    if (f.size() == first) return word + "," + *value;
    std::vector<std::string> fields = SplitAtCommas(*value);
    if (f.size() - first != fields.size()) return "ERR";
    for (std::size_t at = 0; at < fields.size(); ++at)
        if (!f[first + at].empty()) fields[at] = f[first + at];
    *value = JoinWithCommas(fields, 0);
    return word + ",OK";
}

std::string StoredMemory::Lockout(const std::vector<std::string>& f) {
    const std::string& word = f[0];
    if (word == "GLF") return f.size() == 1 ? "GLF," + NextOf(locked_frequencies_, locked_frequency_cursor_) : "ERR";
    std::vector<std::string>* list = &locked_frequencies_;
    std::string value;
    if (word == "LOF" || word == "ULF") {
        if (f.size() != 2 || !Fits('H', f[1]) || f[1].empty()) return "ERR";
        value = f[1];
    } else {
        if (f.size() != (word == "GLI" ? 2u : 3u)) return "ERR";
        const auto found = records_.find(f[1]);
        if (found == records_.end() || found->second.kind != Kind::System || !IsTrunked(found->second.type))
            return word + ",NG";
        Record& system = found->second;
        if (word == "GLI") return "GLI," + NextOf(system.locked_ids, system.locked_id_cursor);
        if (!Fits('T', f[2]) || f[2].empty()) return "ERR";
        list = &system.locked_ids;
        value = f[2];
    }
    const auto at = std::find(list->begin(), list->end(), value);
    if (word[0] == 'L') {
        if (at == list->end()) list->push_back(value);
    } else if (at != list->end()) {
        list->erase(at);
    }
    return word + ",OK";
}

}  // namespace quorvane
