#include "monitor/Recording.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "monitor/LogText.h"
#include "monitor/PollCycle.h"
#include "monitor/PollInput.h"
#include "monitor/PreRoll.h"

namespace quorvane {
namespace {

using namespace quorvane::testing;

// A sound input that keeps its "files" in a map and notes every call.
class FakeRecorder : public AudioRecorder {
public:
    bool TryInput() override { return inputPresent; }
    bool Listen(bool on) override {
        calls.push_back(on ? "Listen" : "Release");
        return inputPresent || !on;
    }
    bool Start(const std::string& path, int preRollMs) override {
        calls.push_back("Start " + path + (preRollMs ? " from " + std::to_string(preRollMs) + " ms before" : ""));
        if (!inputPresent) return false;
        current = path;
        files[path] = "capturing";
        return true;
    }
    void Stop() override { calls.push_back("Stop"); files[current] = "sound"; }
    SaveOutcome Save(const std::string& finalPath) override {
        calls.push_back("Save " + finalPath);
        if (refused.count(finalPath)) return SaveOutcome::Refused;
        if (files.count(finalPath)) return SaveOutcome::AlreadyThere;
        files[finalPath] = files[current];
        files.erase(current);
        return SaveOutcome::Saved;
    }
    void Discard() override { calls.push_back("Discard"); files.erase(current); }
    void Close() override { calls.push_back("Close"); }
    std::string ErrorText() const override { return error; }

    std::vector<std::string> calls;
    std::map<std::string, std::string> files;
    std::set<std::string> refused;
    bool inputPresent = true;
    std::string error;
    std::string current;
};

const std::string kFolder = "/logs";

std::string InFolder(const std::string& name) { return JoinPath(kFolder, name); }
// What the two-tick hit ending at 2:51:40 PM is saved as.
const std::string kFirstHit = InFolder("County__Dispatch-1_-154.4300___2-51-13-PM_2-51-40-PM_12-04-2026.wav");

// Drives the poll cycle and the recording rules the way the window does: the
// tick's actions in order, then the indicator tick.
class RecordingTest : public ::testing::Test {
protected:
    void Tick(const std::string& hitIndicator, const std::string& line2 = "Dispatch 1") {
        const TickOutcome outcome = cycle.Tick(Read(Sts("County", line2, hitIndicator), Gid(), Win("01544300")), ticked);
        for (const TickAction& action : outcome.Actions) {
            if (std::holds_alternative<StartRecordingAction>(action)) {
                Tell(recording.Start(kFolder));
            } else if (const auto* ended = std::get_if<HitEnded>(&action)) {
                if (ended->StopRecording) Tell(recording.Stop(ended->Names, cycle.LaunchDate(), kFolder));
            }
        }
        if (recording.DropIfHitOver(cycle.Hit())) cycle.ResetRecording();
        indicator = IndicatorText(cycle.Hit().HitActive, ticked);
    }
    // One hit of two ticks, ended at clock time end.
    void Hit(const std::string& end, const std::string& line2 = "Dispatch 1") {
        Tick("0", line2);
        Tick("0", line2);
        clock.Now = end;
        Tick("1", line2);
        clock.Now = "2:51:13 PM";
    }
    void Tell(const std::optional<std::string>& message) {
        if (message) told.push_back(*message);
    }

    HitIntelTable table;
    SkipList skips;
    FakeClock clock;
    PollCycle cycle{table, skips, clock, "12-04-2026"};
    FakeRecorder recorder;
    HitRecording recording{recorder};
    bool ticked = true;
    std::string indicator;
    std::vector<std::string> told;
};

TEST(RecordingFileName, EightTextsEachFollowedByAnUnderscoreThenTheLaunchDate) {
    const RecordingNames names{"County", "Fire", "Dispatch 1", "154.4300", "", "", "2:51:13 PM", "2:51:40 PM"};
    EXPECT_EQ(RecordingFileName(names, "12-04-2026"),
              "County_Fire_Dispatch-1_154.4300___2-51-13-PM_2-51-40-PM_12-04-2026.wav");
    const RecordingNames odd{"A/B", "C:D", "E*F?", " 154.4300", "\"Q\"", "<1|2>", "", ""};
    EXPECT_EQ(RecordingFileName(odd, "01-02-2027"), "A-B_C-D_E-F-_-154.4300_-Q-_<1|2>___01-02-2027.wav");
}

TEST(RecordingCounter, StartsAtOneAndStopsAt32767) {
    RecordingCounter counter;
    EXPECT_EQ(counter.Value(), 1);
    while (counter.Value() < RecordingCounter::kLimit) counter.Next();
    EXPECT_EQ(counter.Next(), 32767);
}

TEST_F(RecordingTest, HitsUseTemp2AndTemp3AndAnExistingFinalFileIsKept) {
    const std::string second = InFolder("County__Tac-2_-154.4300___2-51-13-PM_2-52-05-PM_12-04-2026.wav");
    recorder.files[second] = "older";
    Hit("2:51:40 PM");
    Hit("2:52:05 PM", "Tac 2");
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"Start " + InFolder("temp2"), "Stop", "Save " + kFirstHit,
                                                        "Close", "Start " + InFolder("temp3"), "Stop",
                                                        "Save " + second, "Discard", "Close"}));
    EXPECT_EQ(recorder.files, (std::map<std::string, std::string>{{kFirstHit, "sound"}, {second, "older"}}));
    EXPECT_TRUE(told.empty());
}

TEST_F(RecordingTest, IndicatorTheBoxTickedOrUntickedDuringAHitAndClosingTheInput) {
    ticked = false;
    Tick("1");
    EXPECT_EQ(indicator, "Waiting");
    Tick("0");
    EXPECT_EQ(indicator, "Active");
    EXPECT_TRUE(recorder.calls.empty());
    ticked = true;  // ticked during the hit: recording starts at once
    Tick("0");
    EXPECT_EQ(indicator, "Recording");
    ticked = false;  // unticked again: the recording is dropped when the hit ends
    Tick("0");
    EXPECT_EQ(indicator, "Active");
    Tick("1");
    EXPECT_EQ(indicator, "Waiting");
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"Start " + InFolder("temp2"), "Stop", "Discard", "Close"}));
    // Closing the input drops a recording still running; the hit ends with nothing to save.
    ticked = true;
    Tick("0");
    recording.CloseInput();
    recording.CloseInput();
    Tick("1");
    EXPECT_EQ(std::vector<std::string>(recorder.calls.begin() + 4, recorder.calls.end()),
              (std::vector<std::string>{"Start " + InFolder("temp3"), "Stop", "Discard", "Close", "Close"}));
}

TEST_F(RecordingTest, SkippedHitIsNotRecordedYetShowsRecording) {
    skips.SetEntry(0, "01544300");
    Tick("0");
    EXPECT_EQ(indicator, "Recording");
    Tick("1");
    EXPECT_TRUE(recorder.calls.empty());
    // Skipped after its recording began: dropped.
    skips.SetEntry(0, "");
    Tick("0");
    skips.SetEntry(0, "01544300");
    Tick("0");
    Tick("1");
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"Start " + InFolder("temp2"), "Stop", "Discard", "Close"}));
    EXPECT_FALSE(cycle.Hit().Recording);
}

TEST_F(RecordingTest, MissingInputIsToldOnceAndTriedAgainAtEveryHit) {
    recorder.inputPresent = false;
    Tell(recording.Listen(true));  // the link runs with the box ticked
    Hit("2:51:40 PM");
    Hit("2:51:50 PM");
    EXPECT_EQ(told, std::vector<std::string>{std::string(kNoSoundInputMessage)});
    EXPECT_EQ(recorder.calls,
              (std::vector<std::string>{"Listen", "Start " + InFolder("temp2"), "Start " + InFolder("temp3")}));
    recorder.inputPresent = true;
    Tell(recording.Listen(true));
    EXPECT_EQ(told.size(), 1u);
    EXPECT_EQ(recording.Start(kFolder, PreRollMs(100, 0)), std::nullopt);
    EXPECT_EQ(recorder.calls.back(), "Start " + InFolder("temp4") + " from 150 ms before");
    recording.Drop();
    Tell(recording.Listen(false));
    EXPECT_EQ(recorder.calls.back(), "Release");
    Hit("2:52:00 PM");
    recorder.inputPresent = false;
    recorder.error = "The sound input \"Mic\" cannot be opened";
    Hit("2:52:10 PM");
    EXPECT_EQ(told.back(), recorder.error);  // told again after it worked in between
}

TEST_F(RecordingTest, RefusedFinalNameIsToldOnceUntilASaveWorksAgain) {
    recorder.error = "File name too long";
    recorder.refused.insert(kFirstHit);
    Hit("2:51:40 PM");
    Hit("2:51:40 PM");
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].rfind("The recording " + kFirstHit + " cannot be saved (File name too long)", 0), 0u) << told[0];
    EXPECT_FALSE(recording.Capturing());
    Hit("2:51:50 PM");  // saved
    EXPECT_EQ(recorder.files.size(), 1u);
    Hit("2:51:40 PM");  // refused again: told again
    EXPECT_EQ(told.size(), 2u);
}

}  // namespace
}  // namespace quorvane
