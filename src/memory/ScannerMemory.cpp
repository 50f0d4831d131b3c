#include "memory/ScannerMemory.h"

#include <algorithm>

namespace quorvane {

const std::vector<std::string>& SystemTypes() {
    // Conventional, Motorola 800/900/VHF/UHF (type II, type I, splinter,
    // custom band plan), EDACS narrow/wide/SCAT and LTR.
    static const std::vector<std::string> types = {"CNV",  "M82S", "M82P", "M92", "MV2", "MU2", "M81S",
                                                   "M81P", "EDN",  "EDW",  "EDS", "LTR", "M82C", "M81C"};
    return types;
}

bool IsKnownSystemType(const std::string& type) {
    const std::vector<std::string>& types = SystemTypes();
    return std::find(types.begin(), types.end(), type) != types.end();
}

bool IsTrunkedType(const std::string& type) { return type != kConventionalType; }

bool HasBandPlan(const std::string& type) { return type == "M82C" || type == "M81C"; }

std::size_t RecordCount(const ScannerMemory& memory) {
    std::size_t count = 0;
    for (const System& system : memory.systems) {
        ++count;
        for (const auto* list : {&system.sites, &system.groups}) {
            for (const Group& group : *list)
                count += 1 + group.channels.size() + group.talkgroups.size() + group.frequencies.size();
        }
    }
    return count;
}

ScannerMemory WithoutIndexes(ScannerMemory memory) {
    for (System& system : memory.systems) {
        system.index.clear();
        for (auto* list : {&system.sites, &system.groups}) {
            for (Group& group : *list) {
                group.index.clear();
                for (Channel& channel : group.channels) channel.index.clear();
                for (Talkgroup& talkgroup : group.talkgroups) talkgroup.index.clear();
                for (TrunkFrequency& frequency : group.frequencies) frequency.index.clear();
            }
        }
    }
    return memory;
}

}  // namespace quorvane
