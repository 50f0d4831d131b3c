#include <algorithm>
#include <tuple>

#include <gtest/gtest.h>

#include "tools/FakeMemory.h"

namespace quorvane {
namespace {

// Each list is asked for again by the index its first item was given, and
// the file lists the channels newest first, names and bytes as received.
TEST(HarvestWalk, CommandOrderWaitsAndFileForFullEmptyAndOddLists) {
    const std::string channel = " Fire\x82 Disp\t2 ", group = "\x81\x10Grp \xA0\xFF", system = "  Sys\x80  ";
    struct Case {
        std::vector<fake::System> systems;
        std::vector<std::string> commands;
        std::string file;
    };
    const std::vector<Case> cases = {
        {{{"S1", "S1", {{"G1", "G1", {{"C1", "C1", "01544750"}, {"C2", "C2", "01625500"}}}}},
          {"S2", "S2", {{"G2", "G2", {{"C3", "C3", "08552375"}}}}}},
         {"PRG", "SIH", "SIN,S1", "SIN,S1", "GIN,G1", "GIN,G1", "CIN,C1", "CIN,C1", "CIN,C2", "SIN,S2", "GIN,G2",
          "GIN,G2", "CIN,C3", "CIN,C3"},
         fake::kTwoSystemsFile},
        {{}, {"PRG", "SIH", "SIN,-1"}, "\r\n"},
        {{{"S1", "Empty", {}}, {"S2", "S2", {{"G1", "Quiet", {}}, {"G2", "G2", {{"C1", "C1", "04625625"}}}}}},
         {"PRG", "SIH", "SIN,S1", "SIN,S1", "GIN,-1", "SIN,S2", "GIN,G1", "GIN,G1", "CIN,-1", "GIN,G2", "CIN,C1",
          "CIN,C1"},
         "04625625\tC1\tG2\tS2\r\n\r\n"},
        {{{"7", system, {{"12", group, {{"34", channel, " 0154475"}}}}}},
         {"PRG", "SIH", "SIN,7", "SIN,7", "GIN,12", "GIN,12", "CIN,34", "CIN,34"},
         " 0154475\t" + channel + "\t" + group + "\t" + system + "\r\n\r\n"},
    };
    for (const Case& c : cases) {
        Harvest harvest(40);
        const fake::Run run = fake::Drive(harvest, fake::MemoryOf(c.systems));
        EXPECT_EQ(run.commands, c.commands);
        EXPECT_EQ(run.waitedMs, 40 * static_cast<long long>(c.commands.size()));  // one wait per command
        EXPECT_EQ(run.end.outcome, HarvestOutcome::Finished);
        EXPECT_EQ(run.end.message, "Hit Inteligence Updated");
        EXPECT_TRUE(run.end.leaveProgramming);
        EXPECT_EQ(run.end.fileBytes, c.file);
    }
    Harvest harvest(25);
    const fake::Run run = fake::Drive(harvest, fake::MemoryOf(cases.back().systems));
    EXPECT_EQ(std::tuple(run.end.progress.systems, run.end.progress.groups, run.end.progress.channels),
              std::tuple(1, 1, 1));
    EXPECT_EQ(harvest.FoundText(), "Found: \r\n" + channel);
    EXPECT_EQ(harvest.Cancel().outcome, HarvestOutcome::Finished);  // too late to cancel
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
    EXPECT_EQ(Harvest(25).OnReplyLine("SIH,1").outcome, HarvestOutcome::Failed);  // never started
}

TEST(HarvestCancel, CancelSendsNothingMoreAndWritesNothing) {
    Harvest harvest(25);
    const fake::Memory memory = fake::TwoSystems();
    HarvestStep step = harvest.Start();
    for (int i = 0; i < 10; ++i) step = fake::Hand(harvest, fake::Answer(memory, step.command));
    ASSERT_EQ(step.command, "GIN,G2");
    const HarvestStep cancelled = harvest.Cancel();
    EXPECT_EQ(cancelled.outcome, HarvestOutcome::Cancelled);
    EXPECT_TRUE(cancelled.fileBytes.empty());
    EXPECT_TRUE(cancelled.leaveProgramming);
    // The reply to the command under way changes nothing.
    const HarvestStep after = fake::Hand(harvest, fake::Answer(memory, "GIN,G2"));
    EXPECT_EQ(after.outcome, HarvestOutcome::Cancelled);
    EXPECT_TRUE(after.command.empty() && after.fileBytes.empty());
    // Cancelled before the start, it never enters programming mode.
    EXPECT_FALSE(Harvest(25).Cancel().leaveProgramming);
}

}  // namespace
}  // namespace quorvane
