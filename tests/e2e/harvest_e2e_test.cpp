// "Update Hit Inteligence" on a simulated scanner: the command sequence on
// the wire and the file it writes at a fixed delay and at "Auto", slow and
// dead scanners, cancel and Stop.
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>

#include "E2eSupport.h"

using namespace quorvane;
using namespace quorvane::e2e;

namespace {

// Systems S1 (G1: C1, C2) and S2 (G2: C3); the second channel's name has
// blanks and bytes above 0x7F.
const char* kTwoSystems =
    "once\n"
    "step 1000 idle line1=\"  Scanning...   \"\n"
    "system \"S1\"\n"
    "group \"G1\"\n"
    "channel \"C1\" 01544300\n"
    "channel \"C 2 \\xE9\\x82\" 01545000\n"
    "system \"S2\"\n"
    "group \"G2\"\n"
    "channel \"C3\" 04600250\n";

struct Harvesting {
    AppFolder folder;
    std::unique_ptr<Simulator> radio;
    std::unique_ptr<Form1> form;

    explicit Harvesting(SimulatorOptions options = {}, int delayIndex = 0) {
        App();
        radio = StartRadio(folder, kTwoSystems, options);
        folder.SaveComSettings();
        folder.Write("hit_intel.txt", "old\r\n");
        form = std::make_unique<Form1>(folder.Path());
        form->show();
        form->findChild<QComboBox*>("hit_intel_dly")->setCurrentIndex(delayIndex);
    }
    QPushButton* Button() const { return form->findChild<QPushButton*>("hit_intel"); }
    // The harvest's commands: from PRG on, polling left out.
    std::vector<std::string> Walk() const {
        auto all = NonPollCommands(*radio);
        const auto prg = std::find(all.begin(), all.end(), "PRG");
        return std::vector<std::string>(prg, all.end());
    }
    bool MessageShown(const QString& text) const { return form->LastMessage() == text && Box(); }
    QMessageBox* Box() const { return form->findChild<QMessageBox*>("message"); }
    void CloseMessage() const {
        if (auto* box = Box()) box->button(QMessageBox::Ok)->click();
    }
    size_t PollsAfterEpg() const {
        const auto all = radio->ReceivedCommands();
        const auto epg = std::find(all.begin(), all.end(), "EPG");
        return epg == all.end() ? 0 : static_cast<size_t>(std::count(epg, all.end(), "STS"));
    }
};

// The index the radio gave a stored item, read from the command that asked for it.
std::string Index(const std::string& command) { return command.substr(command.find(',') + 1); }

}  // namespace

const char* kTwoSystemsFile = "04600250\tC3\tG2\tS2\r\n01545000\tC 2 \xE9\x82\tG1\tS1\r\n01544300\tC1\tG1\tS1\r\n\r\n";
constexpr int kAuto = 16;  // "Auto" in the delay list

TEST(HarvestEndToEnd, WalksTheMemoryInOrderAndWritesTheFileInReverseAtAFixedDelayAtAutoAndOnASlowScanner) {
    struct Case {
        int delayIndex;
        int replyDelayMs;
        bool asksAgain;  // replies later than a fixed delay are asked for again
    };
    std::vector<std::string> walks[2];
    for (const Case c : {Case{0, 0, false}, Case{kAuto, 300, false}, Case{0, 40, true}}) {
        SCOPED_TRACE(c.replyDelayMs);
        SimulatorOptions line;
        line.baud = 57600;  // replies leave byte by byte
        line.reply_delay_ms = c.replyDelayMs;
        Harvesting h(line, c.delayIndex);
        QTest::mouseClick(h.Button(), Qt::LeftButton);
        EXPECT_EQ(h.Button()->text(), "Cancel");
        ASSERT_TRUE(WaitUntil([&] { return h.MessageShown("Hit Inteligence Updated"); }, 20000));
        EXPECT_EQ(h.folder.Read("hit_intel.txt"), kTwoSystemsFile);
        const auto walk = h.Walk();
        if (c.asksAgain) {
            EXPECT_GT(walk.size(), 14u);
        } else {
            ASSERT_EQ(walk.size(), 14u);
            const std::string s1 = Index(walk[2]), g1 = Index(walk[4]), c1 = Index(walk[6]);
            const std::string c2 = Index(walk[8]), s2 = Index(walk[9]), g2 = Index(walk[10]), c3 = Index(walk[12]);
            EXPECT_EQ(walk, (std::vector<std::string>{"PRG", "SIH", "SIN," + s1, "SIN," + s1, "GIN," + g1,
                                                      "GIN," + g1, "CIN," + c1, "CIN," + c1, "CIN," + c2,
                                                      "SIN," + s2, "GIN," + g2, "GIN," + g2, "CIN," + c3,
                                                      "CIN," + c3}));
            walks[c.delayIndex == kAuto] = walk;
        }
        EXPECT_EQ(h.form->Scanner().HitIntel().Entry(0), "04600250\tC3\tG2\tS2");
        // Polling waits for the message to be read; then EPG and polling again.
        EXPECT_EQ(h.PollsAfterEpg(), 0u);
        h.CloseMessage();
        EXPECT_TRUE(WaitUntil([&] { return h.PollsAfterEpg() >= 2; }, 3000));
        EXPECT_EQ(h.Button()->text(), "Update Hit Inteligence");
    }
    EXPECT_EQ(walks[0], walks[1]);
}

TEST(HarvestEndToEnd, ADeadScannerEndsTheHarvestWithAdviceAndPollingResumes) {
    Harvesting h;
    ASSERT_TRUE(WaitUntil([&] { return h.radio->ReceivedCommands().size() >= 3; }, 3000));
    h.radio->SetAnswering(false);
    QTest::mouseClick(h.Button(), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] { return h.Box() != nullptr; }, 10000));
    EXPECT_TRUE(h.form->LastMessage().contains("after 5 tries")) << h.form->LastMessage().toStdString();
    EXPECT_EQ(h.folder.Read("hit_intel.txt"), "old\r\n");
    EXPECT_TRUE(WaitUntil([&] { return h.PollsAfterEpg() >= 2; }, 3000));
}

TEST(HarvestEndToEnd, EveryWayOutOfTheHarvestTellsTheScannerToLeaveProgrammingMode) {
    // The program ends (close button or a quit signal) while "Hit Inteligence
    // Updated" waits to be read, with EPG not yet sent.
    {
        Harvesting h({}, kAuto);
        QTest::mouseClick(h.Button(), Qt::LeftButton);
        ASSERT_TRUE(WaitUntil([&] { return h.MessageShown("Hit Inteligence Updated"); }, 20000));
        EXPECT_NE(h.Walk().back(), "EPG");
        h.form->close();
        EXPECT_TRUE(WaitUntil([&] { return h.Walk().back() == "EPG"; }, 3000));
    }
    // The line goes away mid-walk and comes back: EPG is the first thing it hears.
    Harvesting h({}, 10);
    QTest::mouseClick(h.Button(), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] { return h.Walk().size() >= 3; }, 5000));
    h.radio.reset();
    ASSERT_TRUE(WaitUntil([&] { return Text3Of(*h.form) == "Scanner disconnected - retrying"; }, 3000));
    auto back = StartRadio(h.folder, kTwoSystems);
    ASSERT_TRUE(WaitUntil([&] { return !back->ReceivedCommands().empty(); }, 5000));
    EXPECT_EQ(back->ReceivedCommands().front(), "EPG");
    EXPECT_TRUE(WaitUntil([&] { return !h.folder.Exists("scanner_in_program_mode"); }, 3000));
    // A run that ended before the line came back left its mark: the next
    // start tells the scanner first thing.
    AppFolder folder;
    folder.Write("scanner_in_program_mode", "\r\n");
    auto radio = StartRadio(folder, kTwoSystems);
    folder.SaveComSettings();
    Form1 next(folder.Path());
    ASSERT_TRUE(WaitUntil([&] { return !radio->ReceivedCommands().empty(); }, 3000));
    EXPECT_EQ(radio->ReceivedCommands().front(), "EPG");
    EXPECT_TRUE(WaitUntil([&] { return !folder.Exists("scanner_in_program_mode"); }, 3000));
}

TEST(HarvestEndToEnd, CancelOrStopMidWalkLeavesProgrammingModeAndTheOldFile) {
    for (const char* button : {"hit_intel", "Command2"}) {
        SCOPED_TRACE(button);
        Harvesting h({}, 10);  // 600 ms a command: time to cancel
        QTest::mouseClick(h.Button(), Qt::LeftButton);
        ASSERT_TRUE(WaitUntil([&] { return h.Walk().size() >= 3; }, 5000));
        // Keys are held back while the harvest owns the line.
        const size_t before = h.radio->ReceivedCommands().size();
        QTest::mouseClick(Key(*h.form, "key_1"), Qt::LeftButton);
        QTest::mouseClick(h.form->findChild<QPushButton*>(button), Qt::LeftButton);
        EXPECT_TRUE(WaitUntil([&] { return h.Walk().back() == "EPG"; }, 3000));
        const auto after = NonPollCommands(*h.radio, before);
        EXPECT_EQ(std::count(after.begin(), after.end(), "KEY,1,P"), 0);
        EXPECT_EQ(h.folder.Read("hit_intel.txt"), "old\r\n");
        if (h.form->Scanner().Running()) {  // cancelled: polling runs on
            EXPECT_EQ(h.form->LastMessage().toStdString().rfind("Hit Inteligence update cancelled", 0), 0u);
            EXPECT_TRUE(WaitUntil([&] { return h.PollsAfterEpg() >= 2; }, 3000));
        }
    }
}
