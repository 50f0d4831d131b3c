// The scanner's line and its one owner, on a fake line: who may use it,
// what holding it in Program Mode means, and what is owed.
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "QtTestApp.h"
#include "link/Commands.h"
#include "link/qt/FakeLine.h"
#include "link/qt/ScannerLink.h"

namespace quorvane {
namespace {
using test::FakeLine;

struct ScannerLinkTest : ::testing::Test {
    ScannerLinkTest() {
        test::QtApp();
        link.Open(PortEntry{}, 57600);
    }
    FakeLine line;
    ScannerLink link{line};
};

TEST_F(ScannerLinkTest, ThePollTakesWholeRoundsOnly) {
    link.SendAll(LineUser::Poll, {"GLG", "STS"});
    EXPECT_EQ(line.TakeWritten(), "GLG\rSTS\r");
    line.Answer("GLG,,,,\r");
    EXPECT_EQ(link.TakeRound(), std::nullopt);  // STS still owed: nothing new goes out
    line.Answer("STS,011000\r");
    EXPECT_EQ(link.TakeRound(), std::optional<std::string>("GLG,,,,\rSTS,011000\r"));
}

TEST_F(ScannerLinkTest, AProgramModeHolderHasTheLineAloneAndLettingGoSendsEpgLast) {
    for (const LineUser holder : {LineUser::Memory, LineUser::Harvest}) {
        SCOPED_TRACE(static_cast<int>(holder));
        ASSERT_EQ(link.Ask(holder), Grant::Go);
        EXPECT_TRUE(line.watching);  // its replies are taken as they come
        EXPECT_FALSE(link.Send(LineUser::Keys, "KEY,S,P"));
        EXPECT_FALSE(link.Send(LineUser::QuickScan, "QSH,01544300"));  // it waits its turn
        EXPECT_EQ(link.TakeRound(), std::nullopt);  // the poll rests
        ASSERT_TRUE(link.Send(holder, kEnterProgramming));
        ASSERT_TRUE(link.Send(holder, "SIN,1"));
        EXPECT_TRUE(link.InProgramMode());
        line.Answer("PRG,OK\r");
        EXPECT_EQ(link.TakeReceived(), "PRG,OK\r");
        // Let go with the SIN reply still owed: it is forgotten, and EPG goes
        // out (memory programming then presses Scan: the scanner leaves
        // Program Mode on Scan Hold).
        link.Release(holder);
        const bool scans = holder == LineUser::Memory;
        EXPECT_EQ(line.TakeWritten(), scans ? "PRG\rSIN,1\rEPG\rKEY,S,P\r" : "PRG\rSIN,1\rEPG\r");
        EXPECT_FALSE(link.InProgramMode());
        EXPECT_EQ(link.Holder(), std::nullopt);
        EXPECT_EQ(link.Owed(), scans ? 2 : 1);  // nothing of the session
        line.Answer(scans ? "EPG,OK\rKEY,OK\r" : "EPG,OK\r");
        EXPECT_EQ(link.TakeRound(), std::optional<std::string>(scans ? "EPG,OK\rKEY,OK\r" : "EPG,OK\r"));
    }
    // A holder that never entered Program Mode leaves nothing behind.
    ASSERT_EQ(link.Ask(LineUser::Harvest), Grant::Go);
    link.Release(LineUser::Harvest);
    EXPECT_EQ(line.TakeWritten(), "");
    // Only the holder lets go of the line.
    ASSERT_EQ(link.Ask(LineUser::Memory), Grant::Go);
    link.Release(LineUser::Harvest);
    EXPECT_EQ(link.Holder(), std::optional<LineUser>(LineUser::Memory));
}

TEST_F(ScannerLinkTest, ProgrammingTakesTheLineFromKeysAndALostLineFreesIt) {
    QSignalSpy dropped(&link, &ScannerLink::KeysDropped);
    QSignalSpy lost(&link, &ScannerLink::Lost);
    ASSERT_EQ(link.Ask(LineUser::Keys), Grant::Go);
    EXPECT_EQ(link.Ask(LineUser::Poll), Grant::Wait);
    ASSERT_EQ(link.Ask(LineUser::Memory), Grant::Go);
    EXPECT_EQ(dropped.count(), 1);
    EXPECT_EQ(link.Ask(LineUser::Keys), Grant::Refuse);
    ASSERT_TRUE(link.Send(LineUser::Memory, kEnterProgramming));
    line.open = false;
    emit line.Lost();
    EXPECT_EQ(lost.count(), 1);
    EXPECT_EQ(link.Holder(), std::nullopt);
    EXPECT_EQ(link.Owed(), 0);
    // Still in Program Mode as far as anyone knows: the next line gets EPG.
    EXPECT_TRUE(link.InProgramMode());
    line.open = true;
    link.LeaveProgramMode();
    EXPECT_EQ(line.TakeWritten(), "PRG\rEPG\r");
}

}  // namespace
}  // namespace quorvane
