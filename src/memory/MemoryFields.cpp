#include "memory/MemoryFields.h"

#include "memory/MemoryValues.h"
#include "memory/ScannerMemory.h"
#include "base/Trim.h"

namespace quorvane {
namespace {

using K = FieldKind;

FieldRule Flag(const char* key) { return {key, K::Flag}; }
FieldRule Number(const char* key, long min, long max) { return {key, K::Number, min, max}; }

// Band steps and offsets: the protocol gives no range beyond their digits.
constexpr long kLargestBandStep = 100000;
constexpr long kLargestOffset = 1023;

}  // namespace

const RecordLayout& SystemLayout() {
    static const RecordLayout layout{"SIN", "system", 2,
                                 {{"name", K::Name, 0, 0, true}, {"quickKey", K::QuickKey},
                                  Number("holdTime", 0, 255), Flag("lockout"), Flag("attenuation"),
                                  Number("delayTime", 0, 5), Flag("dataSkip"), Flag("emergencyAlert")},
                                 nullptr, 0, 0, 5};
    return layout;
}

const RecordLayout& TrunkLayout() {
    static const RecordLayout layout = [] {
        RecordLayout trunk{"TRN", "trunk", 1,
                         {Flag("idSearch"), Flag("statusBit"), Flag("endCode"), Flag("afsFormat"), Flag("iCall"),
                          Flag("controlChannelOnly"), Number("fleetMap", 0, 16), {"customFleetMap", K::FleetMap}},
                         "bands", trunk_field::FirstBand, 3, 4};
        for (int band = 0; band < 3; ++band) {
            trunk.fields.push_back({"base", K::Frequency});
            trunk.fields.push_back(Number("step", 0, kLargestBandStep));
            trunk.fields.push_back(Number("offset", 0, kLargestOffset));
        }
        return trunk;
    }();
    return layout;
}

const RecordLayout& BandPlanLayout() {
    static const RecordLayout layout = [] {
        RecordLayout plan{"MCP", "band plan", 1, {}, "bandPlan", 0, 4, 0};
        for (int range = 0; range < 6; ++range) {
            plan.fields.push_back({"lower", K::Frequency});
            plan.fields.push_back({"upper", K::Frequency});
            plan.fields.push_back(Number("step", 0, kLargestBandStep));
            plan.fields.push_back(Number("offset", -kLargestOffset, kLargestOffset));
        }
        return plan;
    }();
    return layout;
}

const RecordLayout& GroupLayout() {
    static const RecordLayout layout{
        "GIN", "group", 2, {{"name", K::Name, 0, 0, true}, {"quickKey", K::QuickKey}, Flag("lockout")},
        nullptr, 0, 0, 6};
    return layout;
}

const RecordLayout& ChannelLayout() {
    static const RecordLayout layout{"CIN", "channel", 1,
                                 {{"name", K::Name, 0, 0, true}, {"frequency", K::Frequency, 0, 0, true},
                                  {"step", K::Step}, {"modulation", K::Modulation}, {"tone", K::Tone},
                                  Flag("toneLockout"), Flag("lockout"), Flag("priority"), Flag("attenuation"),
                                  Flag("alert")},
                                 nullptr, 0, 0, 4};
    return layout;
}

const RecordLayout& TalkgroupLayout() {
    static const RecordLayout layout{
        "TIN", "talkgroup", 1,
        {{"name", K::Name, 0, 0, true}, {"tgid", K::Tgid, 0, 0, true}, Flag("lockout"), Flag("alert")},
        nullptr, 0, 0, 4};
    return layout;
}

const RecordLayout& TrunkFrequencyLayout() {
    static const RecordLayout layout{
        "TFQ", "frequency", 1, {{"frequency", K::Frequency, 0, 0, true}, Number("lcn", 0, 99)}, nullptr, 0, 0, 4};
    return layout;
}

std::string FieldLabel(const RecordLayout& layout, std::size_t at) {
    if (layout.arrayKey == nullptr || at < layout.arrayStart) return layout.fields[at].key;
    const std::size_t element = (at - layout.arrayStart) / layout.arrayElement + 1;
    return std::string(layout.arrayKey) + " " + std::to_string(element) + " " + layout.fields[at].key;
}

bool FitsKind(const FieldRule& field, const std::string& value) {
    if (value.empty()) return true;
    switch (field.kind) {
        case K::Flag:
            return value == "0" || value == "1";
        case K::Number:
        case K::Tone:
        case K::Step:
            return WholeNumber(value).has_value();
        case K::Frequency:
            return value.size() <= 8 && value.find_first_not_of("0123456789") == std::string::npos;
        case K::QuickKey:
            return value.size() == 1 && (value == "." || (value[0] >= '0' && value[0] <= '9'));
        case K::Name:
        case K::Text:
        case K::Tgid:
        case K::Modulation:
        case K::FleetMap:
            break;
    }
    return true;
}

bool SameValue(const FieldRule& field, const std::string& expected, const std::string& actual) {
    if (field.kind == K::Name) return TrimTrailing(expected) == TrimTrailing(actual);
    if (expected.empty()) return true;
    if (field.kind == K::Number || field.kind == K::Tone || field.kind == K::Step || field.kind == K::Frequency) {
        const std::optional<long> a = WholeNumber(expected), b = WholeNumber(actual);
        if (a && b) return *a == *b;
    }
    return expected == actual;
}

std::string ShownValue(const FieldRule& field, const std::string& value) {
    if (value.empty()) return "(empty)";
    switch (field.kind) {
        case K::Frequency:
            return FrequencyMhzText(value);
        case K::Flag:
            return value == "1" ? "true" : value == "0" ? "false" : "\"" + ScannerText(value) + "\"";
        case K::Number:
        case K::Tone:
        case K::Step:
            return value;
        case K::Name:
        case K::Text:
        case K::Tgid:
        case K::QuickKey:
        case K::Modulation:
        case K::FleetMap:
            break;
    }
    return "\"" + ScannerText(value) + "\"";
}

}  // namespace quorvane
