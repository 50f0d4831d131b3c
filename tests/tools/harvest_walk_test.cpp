#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tools/FakeMemory.h"
#include "tools/Harvest.h"

namespace quorvane {
namespace {

using testing::DriveHarvest;
using testing::FakeMemory;
using testing::FakeSystem;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// S1 (G1: C1, C2), S2 (G2: C3); every index is the item's own name.
FakeMemory TwoSystems() {
    return FakeMemory({
        {"S1", "S1", {{"G1", "G1", {{"C1", "C1", "01544750"}, {"C2", "C2", "01625500"}}}}},
        {"S2", "S2", {{"G2", "G2", {{"C3", "C3", "08552375"}}}}},
    });
}

TEST(HarvestWalk, TwoSystemsGiveTheCommandOrderAndNewestFirstFile) {
    Harvest harvest(250);
    const auto run = DriveHarvest(harvest, TwoSystems());

    EXPECT_THAT(run.commands,
                ElementsAre("PRG", "SIH", "SIN,S1", "SIN,S1", "GIN,G1", "GIN,G1", "CIN,C1", "CIN,C1",
                            "CIN,C2", "SIN,S2", "GIN,G2", "GIN,G2", "CIN,C3", "CIN,C3"));
    EXPECT_EQ(run.end.outcome, HarvestOutcome::Finished);
    EXPECT_EQ(run.end.fileBytes,
              "08552375\tC3\tG2\tS2\r\n"
              "01625500\tC2\tG1\tS1\r\n"
              "01544750\tC1\tG1\tS1\r\n"
              "\r\n");
    EXPECT_EQ(run.end.message, "Hit Inteligence Updated");
    EXPECT_TRUE(run.end.leaveProgramming);
    EXPECT_EQ(run.end.progress.systems, 2);
    EXPECT_EQ(run.end.progress.groups, 2);
    EXPECT_EQ(run.end.progress.channels, 3);
    EXPECT_EQ(harvest.FoundText(), "Found: \r\nC3");
    EXPECT_FALSE(harvest.Running());
}

TEST(HarvestWalk, SystemWithoutGroupsStillAsksForGroupMinusOne) {
    Harvest harvest(25);
    const auto run = DriveHarvest(harvest, FakeMemory({
                                               {"S1", "Empty", {}},
                                               {"S2", "S2", {{"G2", "G2", {{"C3", "C3", "04625625"}}}}},
                                           }));
    EXPECT_THAT(run.commands, ElementsAre("PRG", "SIH", "SIN,S1", "SIN,S1", "GIN,-1", "SIN,S2", "GIN,G2",
                                          "GIN,G2", "CIN,C3", "CIN,C3"));
    EXPECT_EQ(run.end.fileBytes, "04625625\tC3\tG2\tS2\r\n\r\n");
}

TEST(HarvestWalk, GroupWithoutChannelsStillAsksForChannelMinusOne) {
    Harvest harvest(25);
    const auto run = DriveHarvest(
        harvest, FakeMemory({{"S1", "S1", {{"G1", "Quiet", {}}, {"G2", "G2", {{"C1", "C1", "01234000"}}}}}}));
    EXPECT_THAT(run.commands, ElementsAre("PRG", "SIH", "SIN,S1", "SIN,S1", "GIN,G1", "GIN,G1", "CIN,-1",
                                          "GIN,G2", "CIN,C1", "CIN,C1"));
    EXPECT_EQ(run.end.fileBytes, "01234000\tC1\tG2\tS1\r\n\r\n");
    EXPECT_EQ(run.end.progress.groups, 2);
}

TEST(HarvestWalk, NoSystemsWritesAnEmptyLineOnly) {
    Harvest harvest(250);
    const auto run = DriveHarvest(harvest, FakeMemory({}));
    EXPECT_THAT(run.commands, ElementsAre("PRG", "SIH", "SIN,-1"));
    EXPECT_EQ(run.end.outcome, HarvestOutcome::Finished);
    EXPECT_EQ(run.end.fileBytes, "\r\n");
    EXPECT_TRUE(run.end.leaveProgramming);
    EXPECT_EQ(harvest.FoundText(), "Found: \r\n");
}

TEST(HarvestWalk, NamesAndFrequencyBytesAreWrittenAsReceived) {
    const std::string channel = " Fire\x82 Disp\t2 ";
    const std::string group = "\x81\x10Grp \xA0\xFF";
    const std::string system = "  Sys\x80  ";
    Harvest harvest(100);
    const auto run =
        DriveHarvest(harvest, FakeMemory({{"7", system, {{"12", group, {{"345", channel, " 0154475"}}}}}}));
    EXPECT_EQ(run.end.fileBytes, " 0154475\t" + channel + "\t" + group + "\t" + system + "\r\n\r\n");
    EXPECT_EQ(harvest.FoundText(), "Found: \r\n" + channel);
}

TEST(HarvestWalk, ProgressFollowsEachChannelFound) {
    Harvest harvest(25);
    const FakeMemory memory = TwoSystems();
    HarvestStep step = harvest.Start();
    std::vector<std::string> shown;
    while (step.outcome == HarvestOutcome::Send) {
        step = harvest.OnReply(memory.Answer(step.command));
        if (shown.empty() || shown.back() != harvest.FoundText()) shown.push_back(harvest.FoundText());
    }
    EXPECT_THAT(shown, ElementsAre("Found: \r\n", "Found: \r\nC1", "Found: \r\nC2", "Found: \r\nC3"));
}

// 5 systems of 10 groups of 20 channels, numeric indexes as a scanner has them.
FakeMemory LargeMemory() {
    std::vector<FakeSystem> systems;
    int next = 100;
    for (int s = 0; s < 5; ++s) {
        FakeSystem system{std::to_string(next++), "System " + std::to_string(s), {}};
        for (int g = 0; g < 10; ++g) {
            testing::FakeGroup group{std::to_string(next++), "Group " + std::to_string(g), {}};
            for (int c = 0; c < 20; ++c) {
                group.channels.push_back({std::to_string(next++), "Ch " + std::to_string(c),
                                          "0" + std::to_string(1500000 + next)});
            }
            system.groups.push_back(group);
        }
        systems.push_back(system);
    }
    return FakeMemory(systems);
}

TEST(HarvestWalk, OneWaitPerCommand) {
    Harvest harvest(250);
    const auto run = DriveHarvest(harvest, LargeMemory());
    const long long expected = 3 + 2 * 5 + 2 * 50 + 1000;
    EXPECT_EQ(static_cast<long long>(run.commands.size()), expected);
    EXPECT_EQ(run.waitedMs, expected * 250);
    EXPECT_EQ(run.end.outcome, HarvestOutcome::Finished);
    EXPECT_EQ(run.end.progress.channels, 1000);
    // 1000 records and the closing empty line; the first channel is last.
    const std::string& file = run.end.fileBytes;
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 1001);
    EXPECT_THAT(file, ::testing::EndsWith("\tCh 0\tGroup 0\tSystem 0\r\n\r\n"));
    EXPECT_THAT(file, ::testing::StartsWith("01501155\tCh 19\tGroup 9\tSystem 4\r\n"));
}

TEST(HarvestStart, DelayOutsideTheUsableRangeStartsNoWalk) {
    for (long long delay : {-1LL, 32768LL, 100000LL}) {
        Harvest harvest(delay);
        const HarvestStep step = harvest.Start();
        EXPECT_EQ(step.outcome, HarvestOutcome::Failed) << delay;
        EXPECT_TRUE(step.command.empty());
        EXPECT_FALSE(step.leaveProgramming);
        EXPECT_THAT(step.message, ::testing::HasSubstr(std::to_string(delay)));
    }
    for (long long delay : {0LL, 32767LL}) {
        Harvest harvest(delay);
        const HarvestStep step = harvest.Start();
        EXPECT_EQ(step.outcome, HarvestOutcome::Send) << delay;
        EXPECT_EQ(step.command, "PRG");
        EXPECT_EQ(step.waitMs, delay);
    }
}

TEST(HarvestStart, RepliesBeforeStartEndTheHarvestWithoutProgrammingMode) {
    Harvest harvest(250);
    const HarvestStep step = harvest.OnReply("SIH,1\r");
    EXPECT_EQ(step.outcome, HarvestOutcome::Failed);
    EXPECT_FALSE(step.leaveProgramming);
    EXPECT_EQ(harvest.Start().outcome, HarvestOutcome::Failed);
}

}  // namespace
}  // namespace quorvane
