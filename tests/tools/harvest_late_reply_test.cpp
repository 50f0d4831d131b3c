#include <algorithm>

#include <gtest/gtest.h>

#include "tools/FakeMemory.h"

namespace quorvane {
namespace {

// Call numbers in the clean walk of the two systems.
constexpr int kRealC1 = 7;   // the second "CIN,C1", whose reply is used
constexpr int kRealC2 = 8;   // "CIN,C2"
constexpr int kRealS2 = 9;   // "SIN,S2"
constexpr int kRealG2 = 11;  // the second "GIN,G2"

// Hands over the first `size` bytes of the wire; the rest stays.
std::string Take(std::string& wire, std::size_t size) {
    std::string drained = wire.substr(0, size);
    wire.erase(0, drained.size());
    return drained;
}
// Up to and including the first CR (npos + 1 takes nothing).
std::string UpToFirstCr(std::string& wire) { return Take(wire, wire.find('\r') + 1); }

// From call `from` to before call `to` the scanner's replies are lost and
// each drain returns `bytes` instead.
fake::Delivery Replace(int from, int to, std::string bytes) {
    return [=](int call, std::string& wire) {
        if (call >= from && call < to) wire = bytes;
        return fake::DeliverAll(call, wire);
    };
}
fake::Delivery ReplaceAt(int at, std::string bytes) { return Replace(at, at + 1, std::move(bytes)); }

struct LateCase {
    const char* what;
    fake::Delivery deliver;
    const char* repeated;  // the command asked again
    int sent;              // how often it is sent in all
};

TEST(HarvestLateReply, UnusableRepliesAreAskedAgainAndEveryChannelRecordedOnce) {
    const std::vector<LateCase> cases = {
        {"partial reply completed by the next drain",
         [](int call, std::string& wire) {
             if (call == kRealC1) return Take(wire, 9);
             return call == kRealC1 + 1 ? UpToFirstCr(wire) : fake::DeliverAll(call, wire);
         },
         "CIN,C1", 3},
        {"a late C1 reply is not taken for C2's",
         [](int call, std::string& wire) {
             if (call == kRealC1) return std::string();
             // the repeat's drain has only the first C1 reply, C2's only the second
             const bool oneLine = call == kRealC1 + 1 || call == kRealC1 + 2;
             return oneLine ? UpToFirstCr(wire) : fake::DeliverAll(call, wire);
         },
         "CIN,C2", 2},
        {"scanner one reply behind",
         [](int, std::string& wire) { return Take(wire, wire.rfind('\r', wire.size() - 2) + 1); },
         "SIH", 2},
        {"four missed replies", Replace(kRealC2, kRealC2 + 4, ""), "CIN,C2", 5},
        {"several usable lines: the last is taken",
         ReplaceAt(kRealC2, "CIN,Old,01111111,,,,,,,,,,-1\rCIN,C2,01625500,,,,,,,,,,-1\rGID,x\r"), "CIN,C2",
         1},
        {"scanner error", ReplaceAt(kRealG2, "GIN,NG\r"), "GIN,G2", 3},
        {"one field short", ReplaceAt(kRealG2, "GIN,G,G2,0,1,2,-1,G2\r"), "GIN,G2", 3},
        {"SIN one field short", ReplaceAt(kRealS2, "SIN,CNV,S2,0,1,2,3,4,5,6,7,-1\r"), "SIN,S2", 2},
        {"CIN one field short", ReplaceAt(kRealC2, "CIN,C2,01625500,NFM,0,0,0,0,0,0,0,0\r"), "CIN,C2", 2},
        {"another word", ReplaceAt(kRealG2, "CIN,G,G2,0,1,2,-1,G2,C3\r"), "GIN,G2", 3},
        {"about the group before", ReplaceAt(kRealG2, "GIN,G,G1,0,1,2,G2,G1,C1\r"), "GIN,G2", 3},
    };
    for (const LateCase& c : cases) {
        SCOPED_TRACE(c.what);
        Harvest harvest(25);
        const fake::Run run = fake::Drive(harvest, fake::TwoSystems(), c.deliver);
        EXPECT_EQ(std::count(run.commands.begin(), run.commands.end(), c.repeated), c.sent);
        EXPECT_EQ(run.end.outcome, HarvestOutcome::Finished);
        EXPECT_EQ(run.end.fileBytes, fake::kTwoSystemsFile);
        EXPECT_EQ(run.end.progress.channels, 3);
    }
}

TEST(HarvestRetryLimit, DeadScannerEndsTheHarvestAfterFiveTriesAtEitherPace) {
    for (const HarvestPace pace : {HarvestPace::FixedDelay, HarvestPace::Auto}) {
        Harvest harvest(25, pace);
        const fake::Run run = fake::Drive(harvest, fake::TwoSystems(), Replace(kRealC2, 1000, ""));
        ASSERT_EQ(run.commands.size(), static_cast<std::size_t>(kRealC2 + 5));
        EXPECT_EQ(std::vector<std::string>(run.commands.end() - 5, run.commands.end()),
                  std::vector<std::string>(5, "CIN,C2"));
        EXPECT_EQ(run.end.outcome, HarvestOutcome::Failed);
        EXPECT_EQ(run.end.message,
                  "No usable reply to CIN,C2 after 5 tries. The scanner may be slow: choose a longer delay "
                  "and try again.");
        EXPECT_TRUE(run.end.fileBytes.empty());
        EXPECT_TRUE(run.end.leaveProgramming);
        EXPECT_EQ(run.end.progress.commands, kRealC2 + 5);
    }
}

TEST(HarvestAutoPace, TheWaitEndsOnceTheAwaitedReplyIsWhole) {
    Harvest harvest = Harvest::ForDelayText("Auto");
    const fake::Memory memory = fake::TwoSystems();
    LineLedger ledger;
    HarvestStep step = harvest.Start();
    EXPECT_TRUE(step.untilReply);
    EXPECT_EQ(step.waitMs, 1000);
    EXPECT_TRUE(fake::Feed(harvest, ledger, "PRG,OK\r"));  // an unused reply: any answer to the command
    step = harvest.Current();
    for (int call = 1; call < kRealC2; ++call) step = fake::Hand(harvest, ledger, fake::Answer(memory, step.command));
    ASSERT_EQ(step.command, "CIN,C2");
    const std::string reply = fake::Answer(memory, "CIN,C2");
    EXPECT_FALSE(fake::Feed(harvest, ledger, ""));
    EXPECT_FALSE(fake::Feed(harvest, ledger, fake::Answer(memory, "CIN,C1")));     // late, about C1
    EXPECT_FALSE(fake::Feed(harvest, ledger, "CIN,NG\r"));                         // waits for the deadline
    EXPECT_FALSE(fake::Feed(harvest, ledger, reply.substr(0, reply.size() - 1)));  // no CR yet
    EXPECT_TRUE(fake::Feed(harvest, ledger, "\r"));
    // A fixed delay always waits it out.
    Harvest fixed = Harvest::ForDelayText("250");
    EXPECT_EQ(fixed.Start().waitMs, 250);
    EXPECT_FALSE(fake::Feed(fixed, ledger, "PRG,OK\r"));
}

}  // namespace
}  // namespace quorvane
