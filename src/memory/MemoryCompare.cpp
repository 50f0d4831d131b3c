#include "memory/MemoryCompare.h"

#include <algorithm>

#include <functional>

#include "memory/MemoryFields.h"
#include "memory/MemoryPlace.h"
#include "memory/MemoryValues.h"

namespace quorvane {
namespace {

using Difference = std::optional<std::string>;

Difference CompareFields(const RecordLayout& layout, const Fields& expected, const Fields& actual,
                         const std::string& place) {
    for (std::size_t at = 0; at < layout.fields.size(); ++at) {
        if (!SameValue(layout.fields[at], expected[at], actual[at])) {
            return place + ": " + FieldLabel(layout, at) + " " + ShownValue(layout.fields[at], expected[at]) +
                   " != " + ShownValue(layout.fields[at], actual[at]);
        }
    }
    return std::nullopt;
}

// Two lists item by item, then their lengths. placeOf(i, item) names an item.
template <class Item, class PlaceOf, class CompareItem>
Difference CompareLists(const std::vector<Item>& expected, const std::vector<Item>& actual,
                        const std::string& parent, const PlaceOf& placeOf, const CompareItem& compare) {
    const std::size_t common = std::min(expected.size(), actual.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (Difference difference = compare(expected[i], actual[i], placeOf(i, expected[i]))) return difference;
    }
    const std::string prefix = parent.empty() ? "" : parent + ": ";
    if (expected.size() > common) return prefix + placeOf(common, expected[common]) + " is missing";
    if (actual.size() > common) return prefix + "extra " + placeOf(common, actual[common]);
    return std::nullopt;
}

Difference CompareGroups(const std::vector<Group>& expected, const std::vector<Group>& actual,
                         const std::string& systemPlace, bool site) {
    const auto placeOf = [&](std::size_t g, const Group& group) {
        return PlaceStep(site ? "site" : "group", g, group.fields[group_field::Name]);
    };
    return CompareLists(expected, actual, systemPlace, placeOf, [&](const Group& want, const Group& have,
                                                                      const std::string& step) -> Difference {
        const std::string place = systemPlace + " " + step;
        if (want.type != have.type)
            return place + ": holds " + (have.type == kTalkgroupGroupType ? "talkgroups" : "channels");
        if (Difference d = CompareFields(GroupLayout(), want.fields, have.fields, place)) return d;
        if (!have.membersRead) return std::nullopt;
        const auto compareMembers = [&](const auto& wanted, const auto& had, const RecordLayout& layout,
                                        const char* label) {
            return CompareLists(
                wanted, had, place,
                [&](std::size_t m, const auto& member) {
                    return &layout == &TrunkFrequencyLayout() ? PlaceStep(label, m)
                                                          : PlaceStep(label, m, member.fields[0]);
                },
                [&](const auto& a, const auto& b, const std::string& memberStep) {
                    return CompareFields(layout, a.fields, b.fields, place + " " + memberStep);
                });
        };
        if (Difference d = compareMembers(want.channels, have.channels, ChannelLayout(), "channel")) return d;
        if (Difference d = compareMembers(want.talkgroups, have.talkgroups, TalkgroupLayout(), "talkgroup")) return d;
        return compareMembers(want.frequencies, have.frequencies, TrunkFrequencyLayout(), "frequency");
    });
}

Difference CompareSystem(const System& want, const System& have, const std::string& place) {
    if (want.type != have.type)
        return place + ": type \"" + ScannerText(want.type) + "\" != \"" + ScannerText(have.type) + "\"";
    if (Difference d = CompareFields(SystemLayout(), want.fields, have.fields, place)) return d;
    if (!have.groupsRead) return std::nullopt;
    if (IsTrunkedType(want.type)) {
        if (Difference d = CompareFields(TrunkLayout(), want.trunk, have.trunk, place + " trunk")) return d;
    }
    if (HasBandPlan(want.type)) {
        if (Difference d = CompareFields(BandPlanLayout(), want.bandPlan, have.bandPlan, place)) return d;
    }
    if (Difference d = CompareGroups(want.sites, have.sites, place, true)) return d;
    return CompareGroups(want.groups, have.groups, place, false);
}

Difference CompareText(const std::string& want, const std::string& have, const std::string& what) {
    if (want == have) return std::nullopt;
    return what + " \"" + ScannerText(want) + "\" != \"" + ScannerText(have) + "\"";
}

// Lockout lists hold a value once each; their order is the scanner's own.
Difference CompareSet(std::vector<std::string> want, std::vector<std::string> have, const std::string& what) {
    std::sort(want.begin(), want.end());
    std::sort(have.begin(), have.end());
    if (want == have) return std::nullopt;
    const auto join = [](const std::vector<std::string>& list) {
        std::string text;
        for (const std::string& value : list) text += (text.empty() ? "" : " ") + ScannerText(value);
        return text;
    };
    return what + " [" + join(want) + "] != [" + join(have) + "]";
}

// Group quick keys differ only in the keys some group of the system holds:
// the scanner does not switch a key that no group has (QGL), whose digit
// then stays as it was.
Difference CompareQuickKeys(const System& want, const std::string& have, const std::string& what) {
    const std::string& keys = want.groupQuickKeys;
    const auto held = [&want](std::size_t at) {
        const std::string key(1, static_cast<char>('0' + (at + 1) % 10));
        return std::any_of(want.groups.begin(), want.groups.end(),
                           [&key](const Group& group) { return group.fields[group_field::QuickKey] == key; });
    };
    bool same = keys.size() == have.size();
    for (std::size_t at = 0; same && at < keys.size(); ++at) same = keys[at] == have[at] || !held(at);
    return same ? std::nullopt : CompareText(keys, have, what);
}

// Only where both hold settings (a file of version 1 holds none); the
// systems are in the same order by then.
Difference CompareSettings(const ScannerMemory& expected, const ScannerMemory& actual) {
    if (!expected.settings || !actual.settings) return std::nullopt;
    for (const auto& [key, value] : expected.settings->values) {
        const auto found = actual.settings->values.find(key);
        if (Difference d = CompareText(value, found == actual.settings->values.end() ? "" : found->second,
                                       "setting " + key + ":"))
            return d;
    }
    for (std::size_t s = 0; s < expected.systems.size() && s < actual.systems.size(); ++s) {
        const System& want = expected.systems[s];
        const System& have = actual.systems[s];
        const std::string place = SystemPlace(s, want) + ":";
        if (!want.groupQuickKeys.empty()) {
            if (Difference d = CompareQuickKeys(want, have.groupQuickKeys, place + " group quick keys")) return d;
        }
        if (Difference d = CompareSet(want.lockedIds, have.lockedIds, place + " locked-out IDs")) return d;
    }
    if (!expected.settings->lockoutsKnown) return std::nullopt;
    return CompareSet(expected.settings->lockedFrequencies, actual.settings->lockedFrequencies,
                      "locked-out frequencies");
}

}  // namespace

std::optional<std::string> FirstDifference(const ScannerMemory& expected, const ScannerMemory& actual) {
    if (Difference d = CompareLists(
            expected.systems, actual.systems, "",
            [](std::size_t s, const System& system) { return SystemPlace(s, system); }, CompareSystem))
        return d;
    return CompareSettings(expected, actual);
}

}  // namespace quorvane
