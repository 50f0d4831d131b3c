#include "memory/WritePlan.h"

#include <algorithm>
#include <climits>

#include "memory/MemoryCommands.h"
#include "memory/MemorySettings.h"

namespace quorvane {
namespace {

// Costs: commands first, then records kept at another record's place.
constexpr long long kCommand = 1'000'000;
constexpr long long kElsewhere = 1;
constexpr long long kNever = LLONG_MAX / 4;
// Beyond this many cells a list is aligned by index alone (the table would
// not fit; such lists do not occur on a BC246T).
constexpr std::size_t kLargestTable = 4'000'000;

bool NeedsSet(const RecordLayout& layout, const Fields& want, const Fields* have) {
    for (std::size_t at = 0; at < layout.fields.size(); ++at) {
        if (have ? !SameValue(layout.fields[at], want[at], (*have)[at]) : !want[at].empty()) return true;
    }
    return false;
}

// The fields of the set command that makes `have` (nothing: a new record)
// hold `want`; empty when nothing changes. A name can only be cleared by
// setting a blank, as an empty field leaves it.
Fields SetFields(const RecordLayout& layout, const Fields& want, const Fields* have) {
    if (!NeedsSet(layout, want, have)) return {};
    Fields out(layout.fields.size());
    for (std::size_t at = 0; at < layout.fields.size(); ++at) {
        if (have && SameValue(layout.fields[at], want[at], (*have)[at])) continue;
        out[at] = want[at].empty() && layout.fields[at].kind == FieldKind::Name ? " " : want[at];
    }
    return out;
}

long long SetCost(const RecordLayout& layout, const Fields& want, const Fields* have) {
    return NeedsSet(layout, want, have) ? kCommand : 0;
}

// Which read record (slot) holds each edited one: -1 for an appended one.
struct Alignment {
    long long cost = 0;
    std::vector<long> slotOf;
};

// The cheapest alignment of n read records to m edited ones: read records
// kept in order for the first edited ones, the rest appended, the others
// deleted. keep(i, j) is the cost of record i holding edited record j
// (kNever: impossible), append(j) of appending edited record j, same(i, j)
// whether they have one index.
template <class Keep, class Append, class Same>
Alignment Align(std::size_t n, std::size_t m, const Keep& keep, const Append& append, const Same& same) {
    Alignment result;
    result.slotOf.assign(m, -1);
    std::vector<long long> tail(m + 1, 0);  // appending edited records j.. m-1
    for (std::size_t j = m; j-- > 0;) tail[j] = tail[j + 1] + append(j);

    if ((n + 1) * (m + 1) > kLargestTable) {
        // Keep records by index, in order, until the first that cannot be.
        std::size_t from = 0, j = 0;
        for (; j < m; ++j) {
            std::size_t i = from;
            while (i < n && !(same(i, j) && keep(i, j) < kNever)) ++i;
            if (i == n) break;
            result.slotOf[j] = static_cast<long>(i);
            result.cost += keep(i, j) + kCommand * static_cast<long long>(i - from);
            from = i + 1;
        }
        result.cost += tail[j] + kCommand * static_cast<long long>(n - from);
        return result;
    }

    const std::size_t width = m + 1;
    std::vector<long long> best((n + 1) * width, kNever);
    std::vector<char> kept((n + 1) * width, 0);  // reached by keeping record i - 1
    best[0] = 0;
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j <= std::min(i, m); ++j) {
            const long long here = best[i * width + j];
            if (here >= kNever) continue;
            long long& dropped = best[(i + 1) * width + j];
            if (here + kCommand < dropped) {
                dropped = here + kCommand;
                kept[(i + 1) * width + j] = 0;
            }
            if (j < m) {
                const long long cost = keep(i, j);
                long long& held = best[(i + 1) * width + j + 1];
                if (cost < kNever && here + cost < held) {
                    held = here + cost;
                    kept[(i + 1) * width + j + 1] = 1;
                }
            }
        }
    }
    std::size_t bestJ = 0;
    long long bestCost = kNever;
    for (std::size_t j = 0; j <= std::min(n, m); ++j) {
        const long long cost = best[n * width + j] + tail[j];
        if (best[n * width + j] < kNever && cost < bestCost) {
            bestCost = cost;
            bestJ = j;
        }
    }
    result.cost = bestCost;
    for (std::size_t i = n, j = bestJ; i > 0; --i) {
        if (kept[i * width + j]) result.slotOf[--j] = static_cast<long>(i - 1);
    }
    return result;
}

template <class Record>
long long Elsewhere(const Record& have, const Record& want) {
    return !want.index.empty() && want.index == have.index ? 0 : kElsewhere;
}

const RecordLayout& MemberLayout(const Group& group, bool site) {
    if (site) return TrunkFrequencyLayout();
    return group.type == kTalkgroupGroupType ? TalkgroupLayout() : ChannelLayout();
}

// The members of a group of either kind, as (index, fields) views.
struct MemberView {
    const std::string* index;
    const Fields* fields;
};

std::vector<MemberView> Members(const Group& group, bool site) {
    std::vector<MemberView> members;
    const auto add = [&members](const auto& list) {
        for (const auto& member : list) members.push_back({&member.index, &member.fields});
    };
    if (site) add(group.frequencies);
    else if (group.type == kTalkgroupGroupType) add(group.talkgroups);
    else add(group.channels);
    return members;
}

Alignment AlignMembers(const Group* have, const Group& want, bool site) {
    const RecordLayout& layout = MemberLayout(want, site);
    const std::vector<MemberView> slots = have ? Members(*have, site) : std::vector<MemberView>{};
    const std::vector<MemberView> wanted = Members(want, site);
    return Align(
        slots.size(), wanted.size(),
        [&](std::size_t i, std::size_t j) {
            const bool same = !wanted[j].index->empty() && *wanted[j].index == *slots[i].index;
            return SetCost(layout, *wanted[j].fields, slots[i].fields) + (same ? 0 : kElsewhere);
        },
        [&](std::size_t j) { return kCommand + SetCost(layout, *wanted[j].fields, nullptr); },
        [&](std::size_t i, std::size_t j) { return *wanted[j].index == *slots[i].index; });
}

long long GroupAppendCost(const Group& want, bool site) {
    return kCommand + SetCost(GroupLayout(), want.fields, nullptr) + AlignMembers(nullptr, want, site).cost;
}

long long GroupKeepCost(const Group& have, const Group& want, bool site) {
    if (have.type != want.type) return kNever;
    return SetCost(GroupLayout(), want.fields, &have.fields) + AlignMembers(&have, want, site).cost +
           Elsewhere(have, want);
}

Alignment AlignGroups(const std::vector<Group>* have, const std::vector<Group>& want, bool site) {
    static const std::vector<Group> none;
    const std::vector<Group>& slots = have ? *have : none;
    return Align(
        slots.size(), want.size(), [&](std::size_t i, std::size_t j) { return GroupKeepCost(slots[i], want[j], site); },
        [&](std::size_t j) { return GroupAppendCost(want[j], site); },
        [&](std::size_t i, std::size_t j) { return want[j].index == slots[i].index; });
}

long long SystemDetailsCost(const System& want, const System* have) {
    long long cost = SetCost(SystemLayout(), want.fields, have ? &have->fields : nullptr);
    if (IsTrunkedType(want.type)) cost += SetCost(TrunkLayout(), want.trunk, have ? &have->trunk : nullptr);
    if (HasBandPlan(want.type)) cost += SetCost(BandPlanLayout(), want.bandPlan, have ? &have->bandPlan : nullptr);
    return cost + AlignGroups(have ? &have->sites : nullptr, want.sites, true).cost +
           AlignGroups(have ? &have->groups : nullptr, want.groups, false).cost;
}

class Planner {
public:
    WritePlan Plan(const ScannerMemory& read, const ScannerMemory& edited) {
        plan_.target = edited;
        const std::vector<System>& have = read.systems;
        std::vector<System>& want = plan_.target.systems;
        const Alignment systems = Align(
            have.size(), want.size(),
            [&](std::size_t i, std::size_t j) {
                if (have[i].type != want[j].type) return kNever;
                return SystemDetailsCost(want[j], &have[i]) + Elsewhere(have[i], want[j]);
            },
            [&](std::size_t j) { return kCommand + SystemDetailsCost(want[j], nullptr); },
            [&](std::size_t i, std::size_t j) { return want[j].index == have[i].index; });
        DeleteUnkept(have, systems, [&](const System& system) {
            return Step(PlanAction::DeleteSystem, {system.index}, {}, {});
        });
        for (std::size_t j = 0; j < want.size(); ++j) {
            const long slot = systems.slotOf[j];
            EmitSystem(slot < 0 ? nullptr : &have[static_cast<std::size_t>(slot)], want[j], j);
        }
        plan_.steps = std::move(deletes_);
        plan_.steps.insert(plan_.steps.end(), builds_.begin(), builds_.end());
        return std::move(plan_);
    }

private:
    PlanStep Step(PlanAction action, PlanRef target, PlanRef system, PlanRef group) {
        PlanStep step;
        step.action = action;
        step.target = std::move(target);
        step.system = std::move(system);
        step.group = std::move(group);
        return step;
    }

    PlanRef Create() { return PlanRef{"", plan_.created++}; }

    template <class Record, class MakeDelete>
    void DeleteUnkept(const std::vector<Record>& have, const Alignment& alignment, const MakeDelete& make) {
        std::vector<bool> kept(have.size(), false);
        for (const long slot : alignment.slotOf)
            if (slot >= 0) kept[static_cast<std::size_t>(slot)] = true;
        for (std::size_t i = 0; i < have.size(); ++i)
            if (!kept[i]) deletes_.push_back(make(have[i]));
    }

    void EmitSet(const RecordLayout& layout, const Fields& want, const Fields* have, const PlanRef& target,
                 const PlanRef& system, const PlanRef& group, const TreePlace& place) {
        Fields fields = SetFields(layout, want, have);
        if (fields.empty()) return;
        PlanStep step = Step(PlanAction::Set, target, system, group);
        step.layout = &layout;
        step.fields = std::move(fields);
        step.place = place;
        builds_.push_back(std::move(step));
    }

    void EmitSystem(const System* have, System& want, std::size_t s) {
        const TreePlace place{s};
        PlanRef ref{have ? have->index : ""};
        if (have) {
            want.index = have->index;
        } else {
            want.index.clear();
            ref = Create();
            PlanStep create = Step(PlanAction::CreateSystem, ref, ref, {});
            create.type = want.type;
            create.place = place;
            builds_.push_back(std::move(create));
        }
        EmitSet(SystemLayout(), want.fields, have ? &have->fields : nullptr, ref, ref, {}, place);
        if (IsTrunkedType(want.type))
            EmitSet(TrunkLayout(), want.trunk, have ? &have->trunk : nullptr, ref, ref, {}, place);
        if (HasBandPlan(want.type))
            EmitSet(BandPlanLayout(), want.bandPlan, have ? &have->bandPlan : nullptr, ref, ref, {}, place);
        EmitGroups(have ? &have->sites : nullptr, want.sites, ref, s, true);
        EmitGroups(have ? &have->groups : nullptr, want.groups, ref, s, false);
    }

    void EmitGroups(const std::vector<Group>* have, std::vector<Group>& want, const PlanRef& system, std::size_t s,
                    bool site) {
        const Alignment groups = AlignGroups(have, want, site);
        if (have) {
            DeleteUnkept(*have, groups, [&](const Group& group) {
                return Step(PlanAction::DeleteGroup, {group.index}, system, {group.index});
            });
        }
        for (std::size_t g = 0; g < want.size(); ++g) {
            const long slot = groups.slotOf[g];
            const Group* old = slot < 0 ? nullptr : &(*have)[static_cast<std::size_t>(slot)];
            Group& group = want[g];
            TreePlace place{s, site, g};
            PlanRef ref{old ? old->index : ""};
            if (old) {
                group.index = old->index;
            } else {
                group.index.clear();
                ref = Create();
                PlanStep append = Step(PlanAction::AppendGroup, ref, system, ref);
                append.parent = system;
                append.talkgroup = group.type == kTalkgroupGroupType;
                append.place = place;
                builds_.push_back(std::move(append));
            }
            EmitSet(GroupLayout(), group.fields, old ? &old->fields : nullptr, ref, system, ref, place);
            EmitMembers(old, group, system, ref, place, site);
        }
    }

    void EmitMembers(const Group* have, Group& want, const PlanRef& system, const PlanRef& group, TreePlace place,
                     bool site) {
        const Alignment members = AlignMembers(have, want, site);
        const RecordLayout& layout = MemberLayout(want, site);
        const std::vector<MemberView> slots = have ? Members(*have, site) : std::vector<MemberView>{};
        if (have) {
            DeleteUnkept(slots, members, [&](const MemberView& member) {
                return Step(PlanAction::DeleteMember, {*member.index}, system, group);
            });
        }
        const auto emit = [&](auto& list) {
            for (std::size_t m = 0; m < list.size(); ++m) {
                const long slot = members.slotOf[m];
                const MemberView* old = slot < 0 ? nullptr : &slots[static_cast<std::size_t>(slot)];
                place.member = m;
                PlanRef ref{old ? *old->index : ""};
                if (old) {
                    list[m].index = *old->index;
                } else {
                    list[m].index.clear();
                    ref = Create();
                    PlanStep append = Step(PlanAction::AppendMember, ref, system, group);
                    append.parent = group;
                    append.talkgroup = &layout == &TalkgroupLayout();
                    append.place = place;
                    builds_.push_back(std::move(append));
                }
                EmitSet(layout, list[m].fields, old ? old->fields : nullptr, ref, system, group, place);
            }
        };
        if (site) emit(want.frequencies);
        else if (want.type == kTalkgroupGroupType) emit(want.talkgroups);
        else emit(want.channels);
    }

    WritePlan plan_;
    std::vector<PlanStep> deletes_;
    std::vector<PlanStep> builds_;
};

std::string RefText(const PlanRef& ref) {
    return ref.created >= 0 ? "#" + std::to_string(ref.created + 1) : ref.index;
}

}  // namespace

WritePlan PlanWrite(const ScannerMemory& read, const ScannerMemory& edited) {
    WritePlan plan = Planner().Plan(read, edited);
    plan.read = read;
    return plan;
}

WritePlan PlanRestore(const ScannerMemory& memory) {
    WritePlan plan = Planner().Plan(ScannerMemory{}, memory);
    PlanStep clear;
    clear.action = PlanAction::Clear;
    plan.steps.insert(plan.steps.begin(), clear);
    return plan;
}

bool WritesNothing(const WritePlan& plan) {
    return plan.steps.empty() && SettingCommands(plan.read, plan.target).empty();
}

std::vector<std::string> PlanCommands(const WritePlan& plan) {
    std::vector<std::string> commands;
    for (const PlanStep& step : plan.steps) {
        switch (step.action) {
            case PlanAction::Clear:
                commands.push_back(kClearMemory);
                break;
            case PlanAction::CreateSystem:
                commands.push_back(CreateSystemCommand(step.type));
                break;
            case PlanAction::AppendGroup:
                commands.push_back(AppendGroupCommand(RefText(step.parent), step.talkgroup));
                break;
            case PlanAction::AppendMember:
                commands.push_back(AppendMemberCommand(RefText(step.parent), step.talkgroup));
                break;
            case PlanAction::Set:
                commands.push_back(SetCommand(*step.layout, RefText(step.target), step.fields));
                break;
            case PlanAction::DeleteSystem:
                commands.push_back(DeleteSystemCommand(RefText(step.target)));
                break;
            case PlanAction::DeleteGroup:
                commands.push_back(DeleteGroupCommand(RefText(step.target)));
                break;
            case PlanAction::DeleteMember:
                commands.push_back(DeleteMemberCommand(RefText(step.target)));
                break;
        }
    }
    return commands;
}

}  // namespace quorvane
