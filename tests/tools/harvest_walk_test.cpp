#include <algorithm>
#include <tuple>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tools/FakeMemory.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;

TEST(HarvestWalk, TwoSystemsGiveTheCommandOrderAndNewestFirstFile) {
    Harvest harvest(250);
    const fake::Run run = fake::Drive(harvest, fake::TwoSystems());
    EXPECT_THAT(run.commands, ElementsAre("PRG", "SIH", "SIN,S1", "SIN,S1", "GIN,G1", "GIN,G1", "CIN,C1",
                                          "CIN,C1", "CIN,C2", "SIN,S2", "GIN,G2", "GIN,G2", "CIN,C3",
                                          "CIN,C3"));
    EXPECT_EQ(run.end.outcome, HarvestOutcome::Finished);
    EXPECT_EQ(run.end.fileBytes, fake::kTwoSystemsFile);
    EXPECT_EQ(run.end.message, "Hit Inteligence Updated");
    EXPECT_TRUE(run.end.leaveProgramming);
    const HarvestProgress& found = run.end.progress;
    EXPECT_EQ(std::tuple(found.systems, found.groups, found.channels), std::tuple(2, 2, 3));
    EXPECT_EQ(harvest.FoundText(), "Found: \r\nC3");
    EXPECT_EQ(harvest.Cancel().outcome, HarvestOutcome::Finished);  // too late to cancel
}

TEST(HarvestWalk, EmptyListsStillAskForMinusOne) {
    struct Case {
        std::vector<fake::System> systems;
        std::vector<std::string> commands;
        std::string file;
    };
    const std::vector<Case> cases = {
        {{}, {"PRG", "SIH", "SIN,-1"}, "\r\n"},
        {{{"S1", "Empty", {}},
          {"S2", "S2", {{"G1", "Quiet", {}}, {"G2", "G2", {{"C1", "C1", "04625625"}}}}}},
         {"PRG", "SIH", "SIN,S1", "SIN,S1", "GIN,-1", "SIN,S2", "GIN,G1", "GIN,G1", "CIN,-1", "GIN,G2",
          "CIN,C1", "CIN,C1"},
         "04625625\tC1\tG2\tS2\r\n\r\n"},
    };
    for (const Case& c : cases) {
        Harvest harvest(25);
        const fake::Run run = fake::Drive(harvest, fake::MemoryOf(c.systems));
        EXPECT_EQ(run.commands, c.commands);
        EXPECT_EQ(run.end.outcome, HarvestOutcome::Finished);
        EXPECT_EQ(run.end.fileBytes, c.file);
    }
}

TEST(HarvestWalk, NamesAndFrequencyBytesAreWrittenAsReceived) {
    const std::string channel = " Fire\x82 Disp\t2 ";
    const std::string group = "\x81\x10Grp \xA0\xFF";
    const std::string system = "  Sys\x80  ";
    Harvest harvest(100);
    const fake::Run run =
        fake::Drive(harvest, fake::MemoryOf({{"7", system, {{"12", group, {{"34", channel, " 0154475"}}}}}}));
    EXPECT_EQ(run.end.fileBytes, " 0154475\t" + channel + "\t" + group + "\t" + system + "\r\n\r\n");
    EXPECT_EQ(harvest.FoundText(), "Found: \r\n" + channel);
}

TEST(HarvestWalk, OneCommandAndOneWaitPerStep) {
    // 5 systems of 10 groups of 20 channels, numeric indexes as a scanner has them.
    std::vector<fake::System> systems;
    int next = 100;
    for (int s = 0; s < 5; ++s) {
        fake::System& system = systems.emplace_back(fake::System{std::to_string(next++), "S", {}});
        for (int g = 0; g < 10; ++g) {
            fake::Group& group = system.groups.emplace_back(fake::Group{std::to_string(next++), "G", {}});
            for (int c = 0; c < 20; ++c) group.channels.push_back({std::to_string(next++), "C", "01500000"});
        }
    }
    Harvest harvest(40);
    const fake::Run run = fake::Drive(harvest, fake::MemoryOf(systems));
    const long long steps = 3 + 2 * 5 + 2 * 50 + 1000;
    EXPECT_EQ(static_cast<long long>(run.commands.size()), steps);
    EXPECT_EQ(run.waitedMs, steps * 40);
    EXPECT_EQ(run.end.progress.channels, 1000);
    const std::string& file = run.end.fileBytes;
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 1001);  // a line per channel, then an empty one
}

TEST(HarvestWalk, AListThatLoopsOrOverflowsEndsTheWalkAndWritesNothing) {
    fake::Memory tooMany;
    {
        std::vector<fake::Channel> channels;
        for (int c = 0; c < 6002; ++c) channels.push_back({std::to_string(c), "C", "01500000"});
        tooMany = fake::MemoryOf({{"S", "S", {{"G", "G", channels}}}});
    }
    struct Case {
        const char* what;
        fake::Memory memory;
        const char* message;
    };
    const auto changed = [](std::string command, std::string reply) {
        fake::Memory memory = fake::MemoryOf(
            {{"S1", "S1", {{"G1", "G1", {{"C1", "C1", "01544750"}, {"C2", "C2", "01625500"}}}, {"G2", "G2", {}}}},
             {"S2", "S2", {}}});
        memory[command] = std::move(reply);
        return memory;
    };
    const std::vector<Case> cases = {
        {"channels", changed("CIN,C2", "CIN,C2,01625500,NFM,0,0,0,0,0,0,0,0,C1\r"), "leads back to CIN,C1,"},
        {"groups", changed("GIN,G2", "GIN,G,G2,0,1,2,G1,G2,-1\r"), "leads back to GIN,G1,"},
        {"systems", changed("SIN,S2", "SIN,CNV,S2,0,1,2,3,4,5,6,7,S1,-1\r"), "leads back to SIN,S1,"},
        {"more than 6001 channels", tooMany, "more than 6001 channels"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Harvest harvest(25);
        const fake::Run run = fake::Drive(harvest, c.memory);
        EXPECT_EQ(run.end.outcome, HarvestOutcome::Failed);
        EXPECT_NE(run.end.message.find(c.message), std::string::npos) << run.end.message;
        EXPECT_NE(run.end.message.find("hit_intel.txt was not changed"), std::string::npos);
        EXPECT_TRUE(run.end.leaveProgramming);
        EXPECT_TRUE(run.end.fileBytes.empty());
    }
}

TEST(HarvestStart, OnlyAStartedHarvestWithADelayOfZeroTo32767Walks) {
    EXPECT_EQ(Harvest(-1).Start().outcome, HarvestOutcome::Failed);
    EXPECT_EQ(Harvest(32768).Start().outcome, HarvestOutcome::Failed);
    EXPECT_EQ(Harvest(0).Start().command, "PRG");
    EXPECT_EQ(Harvest(32767).Start().command, "PRG");
    EXPECT_EQ(Harvest(25).OnReply("SIH,1\r").outcome, HarvestOutcome::Failed);  // never started
}

TEST(HarvestCancel, CancelSendsNothingMoreAndWritesNothing) {
    Harvest harvest(25);
    const fake::Memory memory = fake::TwoSystems();
    HarvestStep step = harvest.Start();
    for (int i = 0; i < 10; ++i) step = harvest.OnReply(fake::Answer(memory, step.command));
    ASSERT_EQ(step.command, "GIN,G2");
    const HarvestStep cancelled = harvest.Cancel();
    EXPECT_EQ(cancelled.outcome, HarvestOutcome::Cancelled);
    EXPECT_TRUE(cancelled.fileBytes.empty());
    EXPECT_TRUE(cancelled.leaveProgramming);
    // The reply to the command under way changes nothing.
    const HarvestStep after = harvest.OnReply(fake::Answer(memory, "GIN,G2"));
    EXPECT_EQ(after.outcome, HarvestOutcome::Cancelled);
    EXPECT_TRUE(after.command.empty() && after.fileBytes.empty());
    // Cancelled before the start, it never enters programming mode.
    EXPECT_FALSE(Harvest(25).Cancel().leaveProgramming);
}

}  // namespace
}  // namespace quorvane
