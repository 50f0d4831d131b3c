#pragma once
// A scanner's stored programming as the harvest tests need it: answers the
// programming-mode reads with reply lines in the wire format, and a driver
// that plays the window's part (send, wait, drain, hand the bytes over).
#include <functional>
#include <string>
#include <vector>

#include "tools/Harvest.h"

namespace quorvane::testing {

struct FakeChannel {
    std::string index, name, frequency;
};
struct FakeGroup {
    std::string index, name;
    std::vector<FakeChannel> channels;
};
struct FakeSystem {
    std::string index, name;
    std::vector<FakeGroup> groups;
};

class FakeMemory {
public:
    explicit FakeMemory(std::vector<FakeSystem> systems) : systems_(std::move(systems)) {}

    // The reply line (with its CR) the scanner gives to a command.
    std::string Answer(const std::string& command) const {
        if (command == "PRG" || command == "EPG") return command + ",OK\r";
        if (command == "SIH") return "SIH," + (systems_.empty() ? "-1" : systems_[0].index) + "\r";
        const std::string word = command.substr(0, 3);
        const std::string index = command.size() > 4 ? command.substr(4) : std::string();
        for (std::size_t s = 0; s < systems_.size(); ++s) {
            const FakeSystem& system = systems_[s];
            if (word == "SIN" && system.index == index) {
                // Fields 1..13; 2 name, 11 next system, 12 first group.
                return Line({"SIN", "CNV", system.name, "0", "1", "2", "3", "4", "5", "6", "7",
                             NextOf(systems_, s), FirstOf(system.groups), system.index});
            }
            for (std::size_t g = 0; g < system.groups.size(); ++g) {
                const FakeGroup& group = system.groups[g];
                if (word == "GIN" && group.index == index) {
                    // 2 name, 6 next group, 8 first channel.
                    return Line({"GIN", "G", group.name, "0", "1", "2", NextOf(system.groups, g),
                                 group.index, FirstOf(group.channels), "9"});
                }
                for (std::size_t c = 0; c < group.channels.size(); ++c) {
                    const FakeChannel& channel = group.channels[c];
                    if (word == "CIN" && channel.index == index) {
                        // 1 name, 2 frequency, 12 next channel.
                        return Line({"CIN", channel.name, channel.frequency, "NFM", "0", "0", "0", "0",
                                     "0", "0", "0", "0", NextOf(group.channels, c), channel.index});
                    }
                }
            }
        }
        return word + ",NG\r";
    }

private:
    static std::string Line(const std::vector<std::string>& fields) {
        std::string line;
        for (const std::string& field : fields) line += (line.empty() ? "" : ",") + field;
        return line + "\r";
    }
    template <typename T>
    static std::string NextOf(const std::vector<T>& items, std::size_t at) {
        return at + 1 < items.size() ? items[at + 1].index : "-1";
    }
    template <typename T>
    static std::string FirstOf(const std::vector<T>& items) {
        return items.empty() ? "-1" : items[0].index;
    }

    std::vector<FakeSystem> systems_;
};

// Decides what one drain returns: `wire` holds every byte the scanner has
// sent and nobody has read; call counts the commands sent, from 0.
using Delivery = std::function<std::string(int call, const std::string& command, std::string& wire)>;

inline std::string DeliverAll(int, const std::string&, std::string& wire) {
    std::string drained;
    drained.swap(wire);
    return drained;
}

struct HarvestRun {
    std::vector<std::string> commands;
    HarvestStep end;
    long long waitedMs = 0;
};

// Runs a harvest to its end (or to maxCommands commands) the way the window
// does: each Send step is sent, answered into the wire, waited for, drained.
inline HarvestRun DriveHarvest(Harvest& harvest, const FakeMemory& memory,
                               const Delivery& deliver = DeliverAll, int maxCommands = 100000) {
    HarvestRun run;
    std::string wire;
    HarvestStep step = harvest.Start();
    while (step.outcome == HarvestOutcome::Send && static_cast<int>(run.commands.size()) < maxCommands) {
        const int call = static_cast<int>(run.commands.size());
        run.commands.push_back(step.command);
        wire += memory.Answer(step.command);
        run.waitedMs += step.waitMs;
        step = harvest.OnReply(deliver(call, step.command, wire));
    }
    run.end = step;
    return run;
}

}  // namespace quorvane::testing
