#include <gtest/gtest.h>

#include <set>

#include "DemoScenario.h"
#include "Respond.h"
#include "ScenarioParser.h"
#include "link/Fields.h"

namespace quorvane {
namespace {

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

struct Record {
    std::string frequency, channel, group, system;
    bool operator==(const Record&) const = default;
};

// Walks the lists the way a reader of the radio's memory does: every index is
// taken from a reply and sent back as it is.
class Walker {
public:
    explicit Walker(RadioState& state) : state_(state) {}

    std::vector<std::string> Ask(const std::string& command) {
        const std::string reply = Respond(state_, command, 0);
        std::vector<std::string> fields = SplitFields(reply, ',');
        indexes_.push_back(command.substr(command.find(',') + 1));
        return fields;
    }

    std::vector<Record> Walk() {
        std::vector<Record> records;
        EXPECT_EQ(Respond(state_, "PRG", 0), "PRG,OK");
        std::string system = SplitFields(Respond(state_, "SIH", 0), ',').at(1);
        while (system != "-1") {
            const std::vector<std::string> sin = Ask("SIN," + system);
            EXPECT_GE(sin.size(), 13u);
            std::string group = sin.at(12);
            while (group != "-1") {
                const std::vector<std::string> gin = Ask("GIN," + group);
                EXPECT_GE(gin.size(), 9u);
                std::string channel = gin.at(8);
                while (channel != "-1") {
                    const std::vector<std::string> cin = Ask("CIN," + channel);
                    EXPECT_GE(cin.size(), 13u);
                    records.push_back({cin.at(2), cin.at(1), gin.at(2), sin.at(2)});
                    channel = cin.at(12);
                    if (records.size() > 100) return records;  // a loop in the lists
                }
                group = gin.at(6);
            }
            system = sin.at(11);
        }
        EXPECT_EQ(Respond(state_, "EPG", 0), "EPG,OK");
        return records;
    }

    std::vector<std::string> indexes_;

private:
    RadioState& state_;
};

TEST(MemoryWalk, ChainsEveryChannelInOrderAndEndsAtMinusOne) {
    RadioState state(ParseScenario(kMemory, nullptr));
    Walker walker(state);
    const std::vector<Record> expected = {
        {"01544300", "Dispatch 1", "Fire", "County \xC4"},
        {"01542800", "Tac \x82 2", "Fire", "County \xC4"},
        {"01555950", "SO Disp", "Sheriff", "County \xC4"},
        {"01566000", "Harbor Ops", "Port", "Harbor"},
    };
    EXPECT_EQ(walker.Walk(), expected);
    // 3 systems, 4 groups, 4 channels, each asked for once, none at a shared index.
    EXPECT_EQ(walker.indexes_.size(), 11u);
    const std::set<std::string> distinct(walker.indexes_.begin(), walker.indexes_.end());
    EXPECT_EQ(distinct.size(), walker.indexes_.size());
    // Counting up by one from an index never finds the next item.
    for (const std::string& index : walker.indexes_)
        EXPECT_EQ(distinct.count(std::to_string(std::stol(index) + 1)), 0u) << index;
}

TEST(MemoryWalk, EmptyListsAnswerMinusOne) {
    RadioState state(ParseScenario(kMemory, nullptr));
    Respond(state, "PRG", 0);
    const std::string first = SplitFields(Respond(state, "SIH", 0), ',')[1];
    const std::string second_system = SplitFields(Respond(state, "SIN," + first, 0), ',')[11];
    const std::vector<std::string> no_groups = SplitFields(Respond(state, "SIN," + second_system, 0), ',');
    EXPECT_EQ(no_groups[2], "NoGroups");
    EXPECT_EQ(no_groups[12], "-1");
    const std::string fire = SplitFields(Respond(state, "SIN," + first, 0), ',')[12];
    const std::string empty = SplitFields(Respond(state, "GIN," + fire, 0), ',')[6];
    const std::vector<std::string> gin = SplitFields(Respond(state, "GIN," + empty, 0), ',');
    EXPECT_EQ(gin[2], "Empty");
    EXPECT_EQ(gin[8], "-1");
}

TEST(MemoryWalk, UnknownIndexesAnswerNg) {
    RadioState state(ParseScenario(kMemory, nullptr));
    Respond(state, "PRG", 0);
    const std::string first = SplitFields(Respond(state, "SIH", 0), ',')[1];
    EXPECT_EQ(Respond(state, "SIN,-1", 0), "SIN,NG");
    EXPECT_EQ(Respond(state, "GIN,-1", 0), "GIN,NG");
    EXPECT_EQ(Respond(state, "CIN,-1", 0), "CIN,NG");
    EXPECT_EQ(Respond(state, "SIN,", 0), "SIN,NG");
    EXPECT_EQ(Respond(state, "SIN,0" + first, 0), "SIN,NG");  // compared as text
    EXPECT_EQ(Respond(state, "GIN," + first, 0), "GIN,NG");   // a system is not a group
}

TEST(MemoryWalk, NoStoredSystems) {
    RadioState state(ParseScenario("step 100 idle\n", nullptr));
    Respond(state, "PRG", 0);
    EXPECT_EQ(Respond(state, "SIH", 0), "SIH,-1");
    EXPECT_EQ(Respond(state, "SIN,-1", 0), "SIN,NG");
}

TEST(MemoryWalk, DemoMemoryHoldsTwoSystemsThreeGroupsEightChannels) {
    RadioState state(DemoScenario());
    Walker walker(state);
    const std::vector<Record> records = walker.Walk();
    EXPECT_EQ(records.size(), 8u);
    std::set<std::string> systems, groups;
    for (const Record& r : records) {
        systems.insert(r.system);
        groups.insert(r.group);
    }
    EXPECT_EQ(systems.size(), 2u);
    EXPECT_EQ(groups.size(), 3u);
}

}  // namespace
}  // namespace quorvane
