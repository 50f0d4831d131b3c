#include "memory/MemorySettings.h"

#include <algorithm>

namespace quorvane {
namespace {

const System* SystemAt(const ScannerMemory& memory, const std::string& index) {
    for (const System& system : memory.systems)
        if (system.index == index) return &system;
    return nullptr;
}

bool Holds(const std::vector<std::string>& list, const std::string& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

// "<unlock>,<prefix><value>" for what `before` has and `after` lacks, then
// "<lock>,..." for what `after` adds.
void ListChanges(const std::vector<std::string>& before, const std::vector<std::string>& after, const char* unlock,
                 const char* lock, const std::string& prefix, std::vector<std::string>& commands) {
    for (const std::string& value : before)
        if (!Holds(after, value)) commands.push_back(std::string(unlock) + "," + prefix + value);
    for (const std::string& value : after)
        if (!Holds(before, value)) commands.push_back(std::string(lock) + "," + prefix + value);
}

}  // namespace

const std::vector<std::string>& GlobalSettingKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> list = {"BLT", "BSV", "KBP", "OMS", "PRI", "SCO", "CLC", "CSG"};
        for (int range = 1; range <= 10; ++range) list.push_back("CSP," + std::to_string(range % 10));
        list.push_back("WPR");
        for (int group = 1; group <= 5; ++group) list.push_back("SGP," + std::to_string(group));
        list.push_back("QSL");
        return list;
    }();
    return keys;
}

std::string SettingProblem(const std::string& key, const std::string& value) {
    for (const char c : value)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return "a control byte in \"" + key + "\"";
    return {};
}

std::vector<std::string> SettingCommands(const ScannerMemory& read, const ScannerMemory& target) {
    std::vector<std::string> commands;
    if (!target.settings) return commands;
    static const ScannerSettings kNone;
    const ScannerSettings& before = read.settings ? *read.settings : kNone;
    for (const auto& [key, value] : target.settings->values) {
        const auto held = before.values.find(key);
        if (held == before.values.end() || held->second != value) commands.push_back(key + "," + value);
    }
    for (const System& system : target.systems) {
        static const System kNew;
        const System* was = read.settings ? SystemAt(read, system.index) : nullptr;
        if (was == nullptr || was->type != system.type) was = &kNew;
        if (!system.groupQuickKeys.empty() && system.groupQuickKeys != was->groupQuickKeys)
            commands.push_back("QGL," + system.index + "," + system.groupQuickKeys);
        ListChanges(was->lockedIds, system.lockedIds, "ULI", "LOI", system.index + ",", commands);
    }
    if (target.settings->lockoutsKnown)
        ListChanges(before.lockedFrequencies, target.settings->lockedFrequencies, "ULF", "LOF", "", commands);
    return commands;
}

}  // namespace quorvane
