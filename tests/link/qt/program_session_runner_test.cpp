// A Program Mode session run over a fake line: its commands go out one by
// one, reply lines and waits that run out reach it, and every end lets go of
// the line with "EPG" when "PRG" went out.
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <vector>

#include "QtTestApp.h"
#include "link/qt/FakeLine.h"
#include "link/qt/ProgramSessionRunner.h"
#include "link/qt/ScannerLink.h"

namespace quorvane {
namespace {
using End = ProgramSessionRunner::End;

// Sends its commands in turn, each on the reply line that starts with the
// command's word; a wait that runs out ends it as failed.
class ScriptSession : public ProgramSession {
public:
    ScriptSession(std::vector<std::string> commands, int waitMs) : commands_(std::move(commands)), waitMs_(waitMs) {}
    std::vector<std::string> heard;
    int noReplies = 0;

    const SessionStep& Start() override { return Next(); }
    const SessionStep& OnReplyLine(const std::string& line) override {
        heard.push_back(line);
        if (line.rfind(step_.command.substr(0, 3), 0) != 0) {
            step_.outcome = SessionOutcome::Wait;
            return step_;
        }
        return next_ < commands_.size() ? Next() : Ending(SessionOutcome::Finished);
    }
    const SessionStep& OnNoReply() override {
        ++noReplies;
        return Ending(SessionOutcome::Failed);
    }
    const SessionStep& Cancel() override { return Ending(SessionOutcome::Cancelled); }
    const SessionStep& Current() const override { return step_; }
    int CommandsSent() const override { return static_cast<int>(next_); }

private:
    const SessionStep& Next() {
        step_ = {SessionOutcome::Send, commands_[next_++], waitMs_};
        NoteSent(step_.command);
        return step_;
    }
    const SessionStep& Ending(SessionOutcome outcome) {
        MakeEnd(step_, outcome, "over");
        return step_;
    }
    std::vector<std::string> commands_;
    int waitMs_;
    std::size_t next_ = 0;
    SessionStep step_;
};

struct ProgramSessionRunnerTest : ::testing::Test {
    ProgramSessionRunnerTest() {
        test::QtApp();
        link.Open(PortEntry{}, 57600);
        QObject::connect(&runner, &ProgramSessionRunner::Ended, [this](const SessionStep& end, End how) {
            ends.push_back({end.outcome, how, end.leaveProgramming});
        });
    }
    struct Ending {
        SessionOutcome outcome;
        End how;
        bool leaveProgramming;
        bool operator==(const Ending&) const = default;
    };
    test::FakeLine line;
    ScannerLink link{line};
    ProgramSessionRunner runner{link, LineUser::Harvest};
    std::vector<Ending> ends;
};

TEST_F(ProgramSessionRunnerTest, CommandsGoOutOneByOneAsTheirReplyLinesComeIn) {
    ScriptSession session({"PRG", "SIN,1", "GIN,2"}, 60000);
    ASSERT_EQ(runner.Start(session), ProgramSessionRunner::Refusal::None);
    EXPECT_EQ(link.Holder(), std::optional<LineUser>(LineUser::Harvest));
    EXPECT_EQ(line.TakeWritten(), "PRG\r");
    line.Answer("PRG,");
    EXPECT_EQ(line.TakeWritten(), "");  // half a line is no reply yet
    line.Answer("OK\r");
    EXPECT_EQ(line.TakeWritten(), "SIN,1\r");
    line.Answer("STS,late\rSIN,1,x\r");  // a stray line keeps the wait going
    EXPECT_EQ(line.TakeWritten(), "GIN,2\r");
    line.Answer("GIN,2,x\r");
    EXPECT_EQ(session.heard, (std::vector<std::string>{"PRG,OK", "STS,late", "SIN,1,x", "GIN,2,x"}));
    EXPECT_EQ(ends, (std::vector<Ending>{{SessionOutcome::Finished, End::Session, true}}));
    EXPECT_EQ(line.TakeWritten(), "EPG\r");
    EXPECT_EQ(link.Holder(), std::nullopt);
    EXPECT_FALSE(runner.Running());
}

TEST_F(ProgramSessionRunnerTest, AWaitThatRunsOutReachesTheSession) {
    ScriptSession session({"PRG", "SIN,1"}, 20);
    ASSERT_EQ(runner.Start(session), ProgramSessionRunner::Refusal::None);
    line.Answer("PRG,OK\r");
    ASSERT_TRUE(test::WaitUntil([&] { return !ends.empty(); }));
    EXPECT_EQ(session.noReplies, 1);
    EXPECT_EQ(ends.front(), (Ending{SessionOutcome::Failed, End::Session, true}));
    EXPECT_EQ(line.TakeWritten(), "PRG\rSIN,1\rEPG\r");
}

TEST_F(ProgramSessionRunnerTest, CancelStopAndALostLineEndTheSession) {
    // Cancelled during the pause before the start: nothing was sent.
    ScriptSession waiting({"PRG"}, 60000);
    ASSERT_EQ(runner.Start(waiting, 60000), ProgramSessionRunner::Refusal::None);
    EXPECT_EQ(line.TakeWritten(), "");
    runner.Cancel();
    ScriptSession cancelled({"PRG", "SIN,1"}, 60000);
    ASSERT_EQ(runner.Start(cancelled), ProgramSessionRunner::Refusal::None);
    runner.Cancel();
    EXPECT_EQ(line.TakeWritten(), "PRG\rEPG\r");
    ScriptSession stopped({"PRG", "SIN,1"}, 60000);
    ASSERT_EQ(runner.Start(stopped), ProgramSessionRunner::Refusal::None);
    runner.Abandon(true);
    EXPECT_EQ(line.TakeWritten(), "PRG\rEPG\r");
    ScriptSession lost({"PRG", "SIN,1"}, 60000);
    ASSERT_EQ(runner.Start(lost), ProgramSessionRunner::Refusal::None);
    line.open = false;
    emit line.Lost();
    EXPECT_EQ(ends, (std::vector<Ending>{{SessionOutcome::Cancelled, End::Session, false},
                                         {SessionOutcome::Cancelled, End::Session, true},
                                         {SessionOutcome::Cancelled, End::Abandoned, true},
                                         {SessionOutcome::Cancelled, End::LineLost, true}}));
    EXPECT_EQ(line.TakeWritten(), "PRG\r");  // a lost line takes nothing more
    EXPECT_EQ(link.Holder(), std::nullopt);
    EXPECT_EQ(runner.Start(lost), ProgramSessionRunner::Refusal::Closed);
}

TEST_F(ProgramSessionRunnerTest, AFinishedSessionMayKeepTheLineUntilReleased) {
    runner.KeepLineAfterFinish(true);
    ScriptSession session({"PRG"}, 60000);
    ASSERT_EQ(runner.Start(session), ProgramSessionRunner::Refusal::None);
    line.Answer("PRG,OK\r");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(line.TakeWritten(), "PRG\r");
    EXPECT_EQ(link.Holder(), std::optional<LineUser>(LineUser::Harvest));
    ScriptSession other({"PRG"}, 60000);
    EXPECT_EQ(ProgramSessionRunner(link, LineUser::Memory).Start(other), ProgramSessionRunner::Refusal::Busy);
    runner.Release();
    EXPECT_EQ(line.TakeWritten(), "EPG\r");
}

}  // namespace
}  // namespace quorvane
