#include <random>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tools/FakeMemory.h"
#include "tools/Harvest.h"

namespace quorvane {
namespace {

using testing::DeliverAll;
using testing::DriveHarvest;
using testing::FakeMemory;
using ::testing::ElementsAre;

FakeMemory TwoSystems() {
    return FakeMemory({
        {"S1", "S1", {{"G1", "G1", {{"C1", "C1", "01544750"}, {"C2", "C2", "01625500"}}}}},
        {"S2", "S2", {{"G2", "G2", {{"C3", "C3", "08552375"}}}}},
    });
}

const std::string kCleanFile =
    "08552375\tC3\tG2\tS2\r\n"
    "01625500\tC2\tG1\tS1\r\n"
    "01544750\tC1\tG1\tS1\r\n"
    "\r\n";

// Call numbers of the clean walk of TwoSystems().
constexpr int kRealC1 = 7;   // the second "CIN,C1", whose reply is used
constexpr int kRealC2 = 8;   // "CIN,C2"
constexpr int kRealG2 = 11;  // the second "GIN,G2"

// Hands over the wire up to and including its first CR; the rest stays.
std::string UpToFirstCr(std::string& wire) {
    const std::size_t cr = wire.find('\r');
    const std::size_t size = cr == std::string::npos ? wire.size() : cr + 1;
    std::string drained = wire.substr(0, size);
    wire.erase(0, size);
    return drained;
}

TEST(HarvestLateReply, EmptyDrainRequestsTheSameChannelAgain) {
    Harvest harvest(25);
    const auto run = DriveHarvest(harvest, TwoSystems(), [](int call, const std::string& command, std::string& wire) {
        // Nothing has arrived yet; the reply comes with the next drain.
        return call == kRealC2 ? std::string() : DeliverAll(call, command, wire);
    });
    EXPECT_THAT(run.commands, ElementsAre("PRG", "SIH", "SIN,S1", "SIN,S1", "GIN,G1", "GIN,G1", "CIN,C1",
                                          "CIN,C1", "CIN,C2", "CIN,C2", "SIN,S2", "GIN,G2", "GIN,G2",
                                          "CIN,C3", "CIN,C3"));
    EXPECT_EQ(run.end.fileBytes, kCleanFile);
}

TEST(HarvestLateReply, PartialReplyIsCompletedAndUsedOnce) {
    Harvest harvest(25);
    const auto run = DriveHarvest(harvest, TwoSystems(), [](int call, const std::string& command, std::string& wire) {
        if (call == kRealC1) {  // only the start of the C1 reply has arrived
            std::string drained = wire.substr(0, 9);
            wire.erase(0, 9);
            return drained;
        }
        // The rest of it arrives; the answer to the repeated request is late.
        if (call == kRealC1 + 1) return UpToFirstCr(wire);
        return DeliverAll(call, command, wire);
    });
    EXPECT_THAT(run.commands, ElementsAre("PRG", "SIH", "SIN,S1", "SIN,S1", "GIN,G1", "GIN,G1", "CIN,C1",
                                          "CIN,C1", "CIN,C1", "CIN,C2", "SIN,S2", "GIN,G2", "GIN,G2",
                                          "CIN,C3", "CIN,C3"));
    // The late second C1 reply came with C2's: C1 is not recorded twice.
    EXPECT_EQ(run.end.fileBytes, kCleanFile);
}

TEST(HarvestLateReply, LateAnswerAboutThePreviousChannelIsNotTakenForTheNext) {
    Harvest harvest(25);
    const auto run = DriveHarvest(harvest, TwoSystems(), [](int call, const std::string& command, std::string& wire) {
        if (call == kRealC1) return std::string();  // C1 reply late ...
        if (call == kRealC1 + 1) return UpToFirstCr(wire);  // ... arrives, repeat's reply still out
        if (call == kRealC1 + 2) return UpToFirstCr(wire);  // CIN,C2 drain holds only that old C1 reply
        return DeliverAll(call, command, wire);
    });
    EXPECT_EQ(std::count(run.commands.begin(), run.commands.end(), "CIN,C2"), 2);
    EXPECT_EQ(run.end.fileBytes, kCleanFile);
    EXPECT_EQ(run.end.progress.channels, 3);
}

TEST(HarvestLateReply, ScannerOneReplyBehindStillGivesEveryChannelOnce) {
    Harvest harvest(25);
    const auto run = DriveHarvest(harvest, TwoSystems(), [](int, const std::string&, std::string& wire) {
        // Every reply but the newest has arrived.
        const std::size_t lastStart = wire.rfind('\r', wire.size() - 2);
        const std::size_t size = lastStart == std::string::npos ? 0 : lastStart + 1;
        std::string drained = wire.substr(0, size);
        wire.erase(0, size);
        return drained;
    });
    EXPECT_EQ(run.end.outcome, HarvestOutcome::Finished);
    EXPECT_EQ(run.end.fileBytes, kCleanFile);
}

struct UnusableGroupReply {
    const char* what;
    std::string bytes;
};

class HarvestUnusableReply : public ::testing::TestWithParam<UnusableGroupReply> {};

TEST_P(HarvestUnusableReply, GroupIsRequestedAgain) {
    const std::string bytes = GetParam().bytes;
    Harvest harvest(25);
    const auto run = DriveHarvest(harvest, TwoSystems(), [&](int call, const std::string& command, std::string& wire) {
        if (call == kRealG2) wire = bytes;
        return DeliverAll(call, command, wire);
    });
    ASSERT_GT(run.commands.size(), static_cast<std::size_t>(kRealG2 + 1));
    EXPECT_EQ(run.commands[kRealG2 + 1], "GIN,G2");
    EXPECT_EQ(run.end.fileBytes, kCleanFile);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, HarvestUnusableReply,
    ::testing::Values(UnusableGroupReply{"nothing", ""},
                      UnusableGroupReply{"no CR yet", "GIN,G,G2,0,1,2,-1,G2,C3,9"},
                      UnusableGroupReply{"one field short", "GIN,G,G2,0,1,2,-1,G2\r"},
                      UnusableGroupReply{"another word", "CIN,G,G2,0,1,2,-1,G2,C3,9\r"},
                      UnusableGroupReply{"scanner error", "GIN,NG\r"},
                      UnusableGroupReply{"about the item before", "GIN,G,G1,0,1,2,G2,G1,C1,9\r"}),
    [](const auto& info) {
        std::string name = info.param.what;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST(HarvestLateReply, ReplyWithExactlyTheFieldsReadIsUsed) {
    Harvest harvest(25);
    const auto run = DriveHarvest(harvest, TwoSystems(), [](int call, const std::string& command, std::string& wire) {
        if (call == kRealG2) wire = "GIN,G,G2,0,1,2,-1,G2,C3\r";
        return DeliverAll(call, command, wire);
    });
    EXPECT_EQ(run.commands[kRealG2 + 1], "CIN,C3");
    EXPECT_EQ(run.end.fileBytes, kCleanFile);
}

TEST(HarvestLateReply, OfSeveralUsableRepliesTheLastIsTaken) {
    Harvest harvest(25);
    const auto run = DriveHarvest(harvest, TwoSystems(), [](int call, const std::string& command, std::string& wire) {
        if (call == kRealC2) wire = "CIN,Old,01111111,,,,,,,,,,-1\rCIN,C2,01625500,,,,,,,,,,-1\rGID,x\r";
        return DeliverAll(call, command, wire);
    });
    EXPECT_EQ(run.end.fileBytes, kCleanFile);
}

TEST(HarvestRetryLimit, DeadScannerEndsTheHarvestAfterFiveTries) {
    Harvest harvest(25);
    const auto run = DriveHarvest(harvest, TwoSystems(), [](int call, const std::string& command, std::string& wire) {
        if (call >= kRealC2) wire.clear();
        return DeliverAll(call, command, wire);
    });
    ASSERT_EQ(run.commands.size(), static_cast<std::size_t>(kRealC2 + 5));
    EXPECT_THAT(std::vector<std::string>(run.commands.end() - 5, run.commands.end()),
                ElementsAre("CIN,C2", "CIN,C2", "CIN,C2", "CIN,C2", "CIN,C2"));
    EXPECT_EQ(run.end.outcome, HarvestOutcome::Failed);
    EXPECT_EQ(run.end.message,
              "No usable reply to CIN,C2 after 5 tries. The scanner may be slow: choose a longer delay and try "
              "again.");
    EXPECT_TRUE(run.end.fileBytes.empty());
    EXPECT_TRUE(run.end.leaveProgramming);
    EXPECT_EQ(harvest.OnReply("CIN,C2,01625500,,,,,,,,,,-1\r").outcome, HarvestOutcome::Failed);
}

TEST(HarvestRetryLimit, FourMissedRepliesAreNotYetTheEnd) {
    Harvest harvest(25);
    const auto run = DriveHarvest(harvest, TwoSystems(), [](int call, const std::string& command, std::string& wire) {
        if (call >= kRealC2 && call < kRealC2 + 4) wire.clear();
        return DeliverAll(call, command, wire);
    });
    EXPECT_EQ(run.end.outcome, HarvestOutcome::Finished);
    EXPECT_EQ(run.end.fileBytes, kCleanFile);
}

TEST(HarvestRetryLimit, FirstSystemReplyWithoutIndexEndsTheHarvest) {
    Harvest harvest(25);
    const auto run = DriveHarvest(harvest, TwoSystems(), [](int call, const std::string& command, std::string& wire) {
        if (command == "SIH") wire = "SIH\r";
        return DeliverAll(call, command, wire);
    });
    EXPECT_THAT(run.commands, ElementsAre("PRG", "SIH", "SIH", "SIH", "SIH", "SIH"));
    EXPECT_EQ(run.end.outcome, HarvestOutcome::Failed);
    EXPECT_EQ(run.end.message,
              "No usable reply to SIH after 5 tries. The scanner may be slow: choose a longer delay and try again.");
    EXPECT_TRUE(run.end.leaveProgramming);
}

TEST(HarvestCancel, CancelMidWalkSendsNothingMoreAndWritesNothing) {
    Harvest harvest(25);
    const FakeMemory memory = TwoSystems();
    HarvestStep step = harvest.Start();
    std::vector<std::string> sent;
    while (step.outcome == HarvestOutcome::Send && sent.size() < 11) {
        sent.push_back(step.command);
        step = harvest.OnReply(memory.Answer(step.command));
    }
    ASSERT_EQ(step.command, "GIN,G2");
    const HarvestStep cancelled = harvest.Cancel();
    EXPECT_EQ(cancelled.outcome, HarvestOutcome::Cancelled);
    EXPECT_TRUE(cancelled.fileBytes.empty());
    EXPECT_TRUE(cancelled.leaveProgramming);
    EXPECT_FALSE(cancelled.message.empty());
    EXPECT_FALSE(harvest.Running());
    // The reply to the command under way changes nothing.
    const HarvestStep after = harvest.OnReply(memory.Answer("GIN,G2"));
    EXPECT_EQ(after.outcome, HarvestOutcome::Cancelled);
    EXPECT_TRUE(after.command.empty());
    EXPECT_TRUE(after.fileBytes.empty());
}

TEST(HarvestCancel, CancelBeforeStartNeverEntersProgrammingMode) {
    Harvest harvest(25);
    const HarvestStep cancelled = harvest.Cancel();
    EXPECT_EQ(cancelled.outcome, HarvestOutcome::Cancelled);
    EXPECT_FALSE(cancelled.leaveProgramming);
    EXPECT_EQ(harvest.Start().outcome, HarvestOutcome::Cancelled);
}

TEST(HarvestGarbage, RandomBytesNeverCrashAndTheHarvestEnds) {
    std::mt19937 random(246);
    const std::string alphabet = "SINGCH,-1\r\x82\x10 0123456789";
    for (int round = 0; round < 200; ++round) {
        Harvest harvest(0);
        HarvestStep step = harvest.Start();
        int steps = 0;
        while (step.outcome == HarvestOutcome::Send && steps < 10000) {
            std::string bytes(random() % 200, ' ');
            for (char& c : bytes) c = alphabet[random() % alphabet.size()];
            step = harvest.OnReply(bytes);
            ++steps;
        }
        EXPECT_NE(step.outcome, HarvestOutcome::Send) << "round " << round;
    }
}

}  // namespace
}  // namespace quorvane
