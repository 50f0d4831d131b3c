#include "memory/MemoryValidation.h"

#include "memory/MemoryPlace.h"
#include "memory/MemoryValues.h"

namespace quorvane {
namespace {

using K = FieldKind;

std::string Quoted(const std::string& bytes) { return "\"" + ScannerText(bytes) + "\""; }

bool AllOf(const std::string& text, const char* allowed) {
    return text.find_first_not_of(allowed) == std::string::npos;
}

bool IsMotorolaType(const std::string& type) { return IsKnownSystemType(type) && type.front() == 'M'; }
// EDACS wide and narrow; SCAT tracks no IDs and ignores LCNs.
bool IsEdacsType(const std::string& type) { return type == "EDN" || type == "EDW"; }

class Checker {
public:
    explicit Checker(std::string fileName) : file_(std::move(fileName)) {}

    void Problem(const std::string& place, const std::string& what) {
        problems_.push_back(file_ + ": " + (place.empty() ? "" : place + ": ") + what);
    }

    void CheckFields(const RecordLayout& layout, const quorvane::Fields& fields, const std::string& place) {
        for (std::size_t at = 0; at < layout.fields.size(); ++at) {
            const bool lcn = &layout == &TrunkFrequencyLayout() && at == trunk_frequency_field::Lcn;
            const std::string problem = lcn ? LcnProblem(type_, fields[at]) : FieldProblem(layout.fields[at], fields[at]);
            if (!problem.empty()) Problem(place, FieldLabel(layout, at) + " " + problem);
        }
    }

    void Unused(const quorvane::Fields& fields, const std::string& place, const std::string& what) {
        for (const std::string& value : fields) {
            if (!value.empty()) {
                Problem(place, what);
                return;
            }
        }
    }

    void CheckGroup(const quorvane::Group& group, const std::string& place, bool site, bool trunked) {
        CheckFields(GroupLayout(), group.fields, place);
        const bool holdsTalkgroups = group.type == kTalkgroupGroupType;
        if (site) {
            if (!group.channels.empty() || !group.talkgroups.empty() || holdsTalkgroups)
                Problem(place, "a site holds trunk frequencies only");
        } else if (!group.frequencies.empty()) {
            Problem(place, "trunk frequencies belong in a site");
        } else if (trunked && (!holdsTalkgroups || !group.channels.empty())) {
            Problem(place, "a trunked system's groups hold talkgroups, not channels");
        } else if (!trunked && (holdsTalkgroups || !group.talkgroups.empty())) {
            Problem(place, "a conventional system's groups hold channels, not talkgroups");
        }
        for (std::size_t c = 0; c < group.channels.size(); ++c)
            CheckFields(ChannelLayout(), group.channels[c].fields, ChannelPlace(place, c, group.channels[c]));
        for (std::size_t t = 0; t < group.talkgroups.size(); ++t)
            CheckFields(TalkgroupLayout(), group.talkgroups[t].fields, TalkgroupPlace(place, t, group.talkgroups[t]));
        for (std::size_t f = 0; f < group.frequencies.size(); ++f)
            CheckFields(TrunkFrequencyLayout(), group.frequencies[f].fields, TrunkFrequencyPlace(place, f));
    }

    void CheckSystem(const quorvane::System& system, std::size_t s) {
        const std::string place = SystemPlace(s, system);
        if (!IsKnownSystemType(system.type)) {
            std::string known;
            for (const std::string& type : SystemTypes()) known += (known.empty() ? "" : ", ") + type;
            Problem(place, "type " + Quoted(system.type) + " is not a system type the scanner knows (" + known + ")");
        }
        CheckFields(SystemLayout(), system.fields, place);
        type_ = system.type;
        const bool trunked = IsTrunkedType(system.type);
        if (const std::string problem = GroupQuickKeysProblem(system.groupQuickKeys); !problem.empty())
            Problem(place, "groupQuickKeys " + problem);
        if (!trunked && !system.lockedIds.empty())
            Problem(place, "lockedIds: a conventional system has no talkgroup IDs to lock out");
        for (std::size_t at = 0; trunked && at < system.lockedIds.size(); ++at) {
            if (const std::string problem = LockedIdProblem(system.type, system.lockedIds[at]); !problem.empty())
                Problem(place, "lockedIds " + problem);
        }
        if (trunked) CheckFields(TrunkLayout(), system.trunk, place + " trunk");
        else Unused(system.trunk, place, "trunk settings belong to trunked systems only");
        if (HasBandPlan(system.type)) CheckFields(BandPlanLayout(), system.bandPlan, place);
        else Unused(system.bandPlan, place, "a band plan belongs to the custom types M82C and M81C only");
        if (!trunked && !system.sites.empty()) Problem(place, "sites belong to trunked systems only");
        for (std::size_t g = 0; g < system.sites.size(); ++g)
            CheckGroup(system.sites[g], GroupPlace(place, g, system.sites[g], true), true, trunked);
        for (std::size_t g = 0; g < system.groups.size(); ++g)
            CheckGroup(system.groups[g], GroupPlace(place, g, system.groups[g], false), false, trunked);
    }

    std::vector<std::string> Take() { return std::move(problems_); }

private:
    std::string file_;
    std::string type_;  // of the system being checked
    std::vector<std::string> problems_;
};

}  // namespace

std::string FieldProblem(const FieldRule& field, const std::string& value) {
    if (value.empty()) return field.required && field.kind != K::Name ? "is missing" : "";
    switch (field.kind) {
        case K::Name:
            if (value.size() > kLongestName)
                return Quoted(value) + " has " + std::to_string(value.size()) + " characters; the scanner holds " +
                       std::to_string(kLongestName);
            if (value.find(',') != std::string::npos)
                return Quoted(value) + " holds a comma, which the scanner's commands cannot carry";
            if (value.find_first_of("\r\n") != std::string::npos)
                return Quoted(value) + " holds a line break, which the scanner's commands cannot carry";
            for (const char c : value) {
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
                    return Quoted(value) + " holds a control byte, which the scanner refuses in a name";
            }
            return "";
        case K::Text:
            return "";
        case K::Tgid:
            if (value.size() > 9 || !AllOf(value, "0123456789-") || value.front() == '-' || value.back() == '-')
                return Quoted(value) + " is not a talkgroup ID (digits, with \"-\" in the EDACS and LTR forms)";
            return "";
        case K::Flag:
            return value == "0" || value == "1" ? "" : Quoted(value) + " is not true or false";
        case K::Number: {
            const std::optional<long> number = WholeNumber(value);
            if (!number || *number < field.min || *number > field.max)
                return value + " is outside " + std::to_string(field.min) + " to " + std::to_string(field.max);
            return "";
        }
        case K::Frequency:
            if (!AllOf(value, "0123456789") || value.size() > 8) return Quoted(value) + " is not a frequency";
            // An unused band base or band plan limit reads as 0.
            if (!field.required && AllOf(value, "0")) return "";
            if (!InScannerBands(value))
                return FrequencyMhzText(value) + " is outside the scanner's bands (" + ScannerBandsText() + ")";
            // In 100 Hz: the scanner takes frequencies on a 2.5 kHz raster only.
            if (std::stol(value) % 25 != 0)
                return FrequencyMhzText(value) + " is off the scanner's 2.5 kHz raster";
            return "";
        case K::QuickKey:
            if (value.size() == 1 && (value == "." || AllOf(value, "0123456789"))) return "";
            return Quoted(value) + " is not a quick key (\".\" for none, or \"0\" to \"9\")";
        case K::Modulation:
            if (value == "AUTO" || value == "FM" || value == "NFM" || value == "AM") return "";
            return Quoted(value) + " is not a modulation (AUTO, FM, NFM or AM)";
        case K::Tone: {
            const std::optional<long> code = WholeNumber(value);
            if (code && IsKnownTone(*code)) return "";
            return value + " is not a CTCSS/DCS code (0 none, 127 search, 64-113 CTCSS, 128-231 DCS)";
        }
        case K::Step: {
            const std::optional<long> step = WholeNumber(value);
            if (step && IsSearchStep(*step)) return "";
            std::string steps;
            for (const long known : SearchSteps()) steps += (steps.empty() ? "" : ", ") + std::to_string(known);
            return value + " is not a step the scanner knows (" + steps + ", in 10 Hz)";
        }
        case K::FleetMap:
            if (value.size() == 8 && AllOf(value, "0123456789ABCDE")) return "";
            return Quoted(value) + " is not a fleet map (eight size codes \"0\" to \"E\")";
    }
    return "";
}

std::string GroupQuickKeysProblem(const std::string& keys) {
    if (keys.empty() || (keys.size() == 10 && AllOf(keys, "01"))) return "";
    return Quoted(keys) + " is not ten digits 0 (off) or 1 (on), one for each group quick key 1-9 and 0";
}

std::string LockedIdProblem(const std::string& type, const std::string& id) {
    static const FieldRule kId{"lockedIds", K::Tgid, 0, 0, true};
    if (std::string problem = FieldProblem(kId, id); !problem.empty()) return problem;
    // At most nine characters by now.
    const auto number = [&id](std::size_t from, std::size_t count) { return std::stol(id.substr(from, count)); };
    const bool decimal = AllOf(id, "0123456789");
    // A Motorola talkgroup is a 16-bit number; the dashed forms of type I
    // fleets are taken as the scanner shows them.
    if (IsMotorolaType(type) && decimal && number(0, id.size()) > 65535)
        return Quoted(id) + " is beyond 65535, the largest Motorola talkgroup ID";
    if (IsEdacsType(type)) {
        // 16 agencies of 16 fleets of 8 subfleets: 2048 IDs, 0-2047 in decimal.
        if (decimal && number(0, id.size()) > 2047) return Quoted(id) + " is beyond 2047, the largest EDACS ID";
        const bool afs = id.size() == 6 && id[2] == '-' && AllOf(id.substr(0, 2) + id.substr(3), "0123456789");
        if (afs && (number(0, 2) > 15 || number(3, 2) > 15 || number(5, 1) > 7))
            return Quoted(id) + " is not agency-fleet-subfleet (agency and fleet 00-15, subfleet 0-7)";
    }
    // LTR: area 0-1, home repeater 01-20, user 000-254.
    if (type == "LTR" && decimal && id.size() == 6 &&
        (number(0, 1) > 1 || number(1, 2) < 1 || number(1, 2) > 20 || number(3, 3) > 254))
        return Quoted(id) + " is not an LTR ID AHHUUU (area 0-1, home repeater 01-20, user 000-254)";
    return "";
}

std::string LcnProblem(const std::string& type, const std::string& lcn) {
    if (std::string problem = FieldProblem(TrunkFrequencyLayout().fields[trunk_frequency_field::Lcn], lcn);
        !problem.empty())
        return problem;
    // No BC246T document gives the range. Uniden's documents of the same
    // command on its later scanners give 1-30 for EDACS and 1-20 for LTR; a
    // library for them has 0-20 and 0-30 the other way round. A value any
    // of them allows is taken. Motorola and EDACS SCAT systems ignore it.
    constexpr long kLargestLcn = 30;
    if (lcn.empty() || !(IsEdacsType(type) || type == "LTR") || *WholeNumber(lcn) <= kLargestLcn) return "";
    return lcn + " is outside 0 to " + std::to_string(kLargestLcn) + ", the LCNs of " +
           (type == "LTR" ? "an LTR" : "an EDACS") + " system";
}

std::vector<std::string> ValidateMemory(const ScannerMemory& memory, const std::string& fileName) {
    Checker check(fileName);
    if (memory.model != kScannerModel)
        check.Problem("", "model " + Quoted(memory.model) + " is not " + kScannerModel);
    if (memory.systems.size() > kMostSystems)
        check.Problem("", std::to_string(memory.systems.size()) + " systems; the scanner holds " +
                              std::to_string(kMostSystems));
    for (std::size_t s = 0; s < memory.systems.size(); ++s) check.CheckSystem(memory.systems[s], s);
    return check.Take();
}

}  // namespace quorvane
