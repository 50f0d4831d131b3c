#pragma once
// Memories to test with, and a driver that runs a memory engine against the
// simulator's radio in-process, the way the window does over the line.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "RadioState.h"
#include "Respond.h"
#include "memory/MemoryEngine.h"
#include "memory/ScannerMemory.h"

namespace quorvane::test {

inline Channel Ch(std::string index, std::string name, std::string digits) {
    return {std::move(index), {std::move(name), std::move(digits), "0", "NFM", "0", "0", "0", "0", "0", "0"}};
}
inline Talkgroup Tg(std::string index, std::string name, std::string tgid) {
    return {std::move(index), {std::move(name), std::move(tgid), "0", "0"}};
}
inline Group Grp(std::string index, std::string name, std::vector<Channel> channels) {
    Group group;
    group.index = std::move(index);
    group.fields = {std::move(name), ".", "0"};
    group.channels = std::move(channels);
    return group;
}
inline Group TgGrp(std::string index, std::string name, std::vector<Talkgroup> talkgroups) {
    Group group = Grp(std::move(index), std::move(name), {});
    group.type = kTalkgroupGroupType;
    group.talkgroups = std::move(talkgroups);
    return group;
}
inline System Sys(std::string index, std::string type, std::string name, std::vector<Group> groups) {
    System system;
    system.index = std::move(index);
    system.type = std::move(type);
    system.fields = {std::move(name), ".", "2", "0", "0", "2", "0", "0"};
    if (IsTrunkedType(system.type)) {
        system.trunk = Fields(trunk_field::Count);
        for (std::size_t at = 0; at < trunk_field::CustomFleetMap; ++at) system.trunk[at] = "0";
        system.trunk[trunk_field::CustomFleetMap] = "00000000";
    }
    system.groups = std::move(groups);
    return system;
}

// A conventional system of two groups and an M82S system with a site, as read
// from a scanner (indexes 100...).
inline ScannerMemory SmallMemory() {
    ScannerMemory memory{"BC246T", "Version 1.06.00", {}, std::nullopt};
    memory.systems.push_back(
        Sys("100", "CNV", "County",
            {Grp("110", "Fire", {Ch("111", "Disp", "01544300"), Ch("112", "Tac", "01542800"), Ch("113", "EMS", "01553400")}),
             Grp("120", "Sheriff", {Ch("121", "SO", "01555950")})}));
    System metro = Sys("200", "M82S", "Metro", {TgGrp("220", "Police", {Tg("221", "PD", "12345")})});
    Group site = Grp("210", "North", {});
    site.frequencies = {TrunkFrequency{"211", {"08510125", "0"}}};
    metro.sites = {site};
    memory.systems.push_back(metro);
    return memory;
}

// Runs an engine to its end against the radio. Each sent command is answered
// by Respond; `tamper` (call number from 0, reply) may replace the reply by
// other lines (none: the reply is lost and the wait runs out). When the run
// ends in Program Mode, "EPG" is sent as the window does.
struct Run {
    std::vector<std::string> commands;
    MemoryStep end;
    std::vector<MemoryProgress> progress;  // of every step
};
using Tamper = std::function<std::vector<std::string>(int call, const std::string& reply)>;
// A command for which `unheard` is true never reaches the radio (no reply).
using Unheard = std::function<bool(const std::string& command)>;

inline Run Drive(MemoryEngine& engine, RadioState& radio, const Tamper& tamper = {}, const Unheard& unheard = {}) {
    Run run;
    std::deque<std::string> wire;
    SimTime now = 0;
    MemoryStep step = engine.Start();
    while ((step.outcome == MemoryOutcome::Send || step.outcome == MemoryOutcome::Wait) && run.commands.size() < 100000) {
        run.progress.push_back(step.progress);
        if (step.outcome == MemoryOutcome::Send) {
            run.commands.push_back(step.command);
            if (!unheard || !unheard(step.command)) {
                const std::string reply = Respond(radio, step.command, now += 10);
                const std::vector<std::string> lines =
                    tamper ? tamper(static_cast<int>(run.commands.size()) - 1, reply) : std::vector<std::string>{reply};
                wire.insert(wire.end(), lines.begin(), lines.end());
            }
        }
        if (wire.empty()) {
            step = engine.OnNoReply();
        } else {
            const std::string line = wire.front();
            wire.pop_front();
            step = engine.OnReplyLine(line);
        }
    }
    run.end = step;
    if (step.leaveProgramming) Respond(radio, "EPG", now + 10);
    return run;
}

}  // namespace quorvane::test
