#pragma once
// A scanner's stored channels answering the harvest's reads, and a driver
// playing the runner's role (send, wait, hand the whole lines over).
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "link/LineLedger.h"
#include "tools/Harvest.h"

namespace quorvane::fake {

struct Channel { std::string index, name, frequency; };
struct Group { std::string index, name; std::vector<Channel> channels; };
struct System { std::string index, name; std::vector<Group> groups; };

// The scanner's reply lines (each with its CR), by the command that asks for them.
using Memory = std::map<std::string, std::string>;

// Each reply holds exactly the fields the harvest reads, and no more.
inline Memory MemoryOf(const std::vector<System>& systems) {
    const auto first = [](const auto& items) { return items.empty() ? "-1" : items[0].index; };
    const auto next = [](const auto& items, std::size_t at) {
        return at + 1 < items.size() ? items[at + 1].index : "-1";
    };
    Memory replies = {{"PRG", "PRG,OK\r"}, {"SIH", "SIH," + first(systems) + "\r"}};
    for (std::size_t s = 0; s < systems.size(); ++s) {
        const System& sy = systems[s];  // fields 2 name, 11 next system, 12 first group
        replies["SIN," + sy.index] =
            "SIN,CNV," + sy.name + ",0,1,2,3,4,5,6,7," + next(systems, s) + "," + first(sy.groups) + "\r";
        for (std::size_t g = 0; g < sy.groups.size(); ++g) {
            const Group& gr = sy.groups[g];  // 2 name, 6 next group, 8 first channel
            replies["GIN," + gr.index] = "GIN,G," + gr.name + ",0,1,2," + next(sy.groups, g) + "," +
                                         gr.index + "," + first(gr.channels) + "\r";
            for (std::size_t c = 0; c < gr.channels.size(); ++c) {
                const Channel& ch = gr.channels[c];  // 1 name, 2 frequency, 12 next channel
                replies["CIN," + ch.index] = "CIN," + ch.name + "," + ch.frequency +
                                             ",NFM,0,0,0,0,0,0,0,0," + next(gr.channels, c) + "\r";
            }
        }
    }
    return replies;
}

inline std::string Answer(const Memory& memory, const std::string& command) {
    const auto reply = memory.find(command);
    return reply != memory.end() ? reply->second : command.substr(0, 3) + ",NG\r";
}

// S1 (G1: C1, C2) and S2 (G2: C3); every index is the item's own name.
inline Memory TwoSystems() {
    return MemoryOf({{"S1", "S1", {{"G1", "G1", {{"C1", "C1", "01544750"}, {"C2", "C2", "01625500"}}}}},
                   {"S2", "S2", {{"G2", "G2", {{"C3", "C3", "08552375"}}}}}});
}
// Its hit_intel.txt: newest first, then an empty line.
inline const std::string kTwoSystemsFile =
    "08552375\tC3\tG2\tS2\r\n01625500\tC2\tG1\tS1\r\n01544750\tC1\tG1\tS1\r\n\r\n";

// What one drain returns: `wire` holds every byte the scanner has sent and
// nobody has read; `call` counts the commands sent, from 0.
using Delivery = std::function<std::string(int call, std::string& wire)>;

inline std::string DeliverAll(int, std::string& wire) { return std::exchange(wire, {}); }

struct Run {
    std::vector<std::string> commands;
    HarvestStep end;
    long long waitedMs = 0;
};

// Hands the whole lines of bytes to the harvest one by one, as they come in
// (the ledger keeps a line whose CR has not come); true when one of them
// ended the wait.
inline bool Feed(Harvest& harvest, LineLedger& ledger, const std::string& bytes) {
    const int sent = harvest.CommandsSent();
    ledger.Received(bytes, 0);
    for (const std::string& line : ledger.TakeLines()) harvest.OnReplyLine(line);
    return harvest.CommandsSent() != sent || !harvest.Running();
}
// The bytes that came in during a wait, then the wait's end.
inline HarvestStep Hand(Harvest& harvest, LineLedger& ledger, const std::string& bytes) {
    return Feed(harvest, ledger, bytes) ? harvest.Current() : harvest.OnNoReply();
}
inline HarvestStep Hand(Harvest& harvest, const std::string& lines) {
    LineLedger ledger;
    return Hand(harvest, ledger, lines);
}

// Runs a harvest to its end the way the window does: each Send step is sent,
// answered into the wire, waited for and handed over.
inline Run Drive(Harvest& harvest, const Memory& memory, const Delivery& deliver = DeliverAll) {
    Run run;
    std::string wire;
    LineLedger ledger;
    HarvestStep step = harvest.Start();
    while (step.outcome == HarvestOutcome::Send && run.commands.size() < 100000) {
        run.commands.push_back(step.command);
        wire += Answer(memory, step.command);
        run.waitedMs += step.waitMs;
        step = Hand(harvest, ledger, deliver(static_cast<int>(run.commands.size()) - 1, wire));
    }
    run.end = step;
    return run;
}

}  // namespace quorvane::fake
