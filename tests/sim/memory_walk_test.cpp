#include <gtest/gtest.h>

#include <set>

#include "Respond.h"
#include "ScenarioParser.h"
#include "link/Fields.h"

namespace quorvane {
namespace {

// An empty group and a system without groups sit between the others.
constexpr const char* kMemory =
    "system \"County \xC4\"\n"
    "group Fire\n"
    "channel \"Dispatch 1\" 01544300 NFM\n"
    "channel \"Tac \x82 2\" 01542800\n"
    "group Empty\n"
    "group Sheriff\n"
    "channel \"SO Disp\" 01555950 FM\n"
    "system NoGroups\n"
    "system Harbor\n"
    "group Port\n"
    "channel \"Harbor Ops\" 01566000 FM\n";

// Walks the lists the way a reader of the radio's memory does: each index is
// taken from a reply and sent back as it is, until "-1".
TEST(MemoryWalk, ChainsEveryListByIndexAndEndsAtMinusOne) {
    RadioState state(ParseScenario(kMemory, nullptr));
    std::vector<std::string> indexes, visited;
    auto ask = [&](const std::string& name, const std::string& index, std::size_t fields) {
        indexes.push_back(index);
        std::vector<std::string> reply = SplitFields(Respond(state, name + "," + index, 0), ',');
        EXPECT_EQ(reply.size(), fields) << name << "," << index;
        reply.resize(fields, "-1");  // a short reply ends the walk here
        if (indexes.size() > 50) reply.assign(fields, "-1");  // and so does a loop in the lists
        visited.push_back(name == "CIN" ? reply[1] + " " + reply[2] : reply[2]);
        return reply;
    };
    ASSERT_EQ(Respond(state, "PRG", 0), "PRG,OK");
    for (std::string system = SplitFields(Respond(state, "SIH", 0), ',').at(1); system != "-1";) {
        const std::vector<std::string> sin = ask("SIN", system, 15);
        for (std::string group = sin[12]; group != "-1";) {
            const std::vector<std::string> gin = ask("GIN", group, 10);
            for (std::string channel = gin[8]; channel != "-1";) channel = ask("CIN", channel, 15)[12];
            group = gin[6];
        }
        system = sin[11];
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"County \xC4", "Fire", "Dispatch 1 01544300", "Tac \x82 2 01542800",
                                                 "Empty", "Sheriff", "SO Disp 01555950", "NoGroups", "Harbor", "Port",
                                                 "Harbor Ops 01566000"}));
    // No two items share an index, and counting up by one never finds the next item.
    const std::set<std::string> distinct(indexes.begin(), indexes.end());
    EXPECT_EQ(distinct.size(), indexes.size());
    for (const std::string& index : indexes) EXPECT_EQ(distinct.count(std::to_string(std::stol(index) + 1)), 0u);

    for (const std::string& bad :
         std::vector<std::string>{"SIN,-1", "CIN,-1", "SIN,", "SIN,0" + indexes[0], "GIN," + indexes[0]})
        EXPECT_EQ(Respond(state, bad, 0), bad.substr(0, 3) + ",NG") << bad;
    EXPECT_EQ(Respond(state, "EPG", 0), "EPG,OK");
}

}  // namespace
}  // namespace quorvane
