// Hits recorded from a real sound input: the main window on a simulated
// scanner, with a private PulseAudio server whose input is the radio's audio:
// silence, and a rising 440 Hz tone while the squelch is open (RadioAudio).
// The recording rules themselves (names, temporary files, failures told once)
// are covered with a fake recorder in the monitor tests.
#include <QDir>
#include <QElapsedTimer>
#include <QAudioDevice>
#include <QMediaDevices>
#include <sndfile.h>

#include <cmath>
#include <regex>

#include "E2eSupport.h"
#include "RadioAudio.h"
#include "monitor/LogText.h"
#include "monitor/PreRoll.h"

using namespace quorvane;
using namespace quorvane::e2e;

namespace {

// The radio's audio as this process's sound input, set up before the first
// use of the sound devices in the process, so that recordings never come
// from a microphone the machine may have.
RadioAudio& Speaker() {
    static RadioAudio audio(QT_TESTCASE_SOURCEDIR "/../scripts/test-audio");
    static const bool pointed = [] {
        if (audio.Error().empty()) qputenv("PULSE_SERVER", QByteArray::fromStdString(audio.Server()));
        return true;
    }();
    (void)pointed;
    return audio;
}

// "Record Audio" and "Log To Text File" ticked, the log in the app folder.
const char* kRecordingSettings = "0\r\n1\r\n1\r\n0\r\n37\r\n37\r\n1\r\n0\r\n0\r\n\"\"\r\n4\r\n";
const char* kHitIntel = "01544300\tDispatch 1\tFire\tCounty\r\n";

RadioView DispatchHit() {
    RadioView hit = Reception("County Fire", "Dispatch 1", "01544300");
    hit.icons1 = "110000000000000";
    return hit;
}

// The app folder's files whose names match pattern.
std::vector<std::string> Files(const AppFolder& folder, const std::regex& pattern) {
    std::vector<std::string> found;
    for (const QString& name : QDir(folder.Path()).entryList(QDir::Files)) {
        if (std::regex_match(name.toStdString(), pattern)) found.push_back(name.toStdString());
    }
    return found;
}

const std::regex kWaveOrTemporary(R"(.*\.wav|temp\d+)");

// A radio scanning quietly, linked to an app folder with "Record Audio" ticked.
std::unique_ptr<Simulator> RadioAndSettings(const AppFolder& folder) {
    auto radio = StartRadio(folder);
    radio->SetOverride(Idle());
    folder.SaveComSettings();
    folder.Write("pgm_settings.txt", kRecordingSettings);
    folder.Write("hit_intel.txt", kHitIntel);
    return radio;
}

}  // namespace

TEST(AudioEndToEnd, AHitIsRecordedFromBeforeTheTickThatSawItIntoOneWaveFileNamedAfterIt) {
    RadioAudio& speaker = Speaker();
    App();
    ASSERT_EQ(speaker.Error(), "");
    ASSERT_FALSE(QMediaDevices::defaultAudioInput().isNull());
    AppFolder folder;
    const auto radio = RadioAndSettings(folder);
    Form1 form(folder.Path());
    form.show();
    const auto indicator = [&] { return Text3Of(form); };
    ASSERT_TRUE(WaitUntil([&] { return indicator() == "Waiting"; }, 3000)) << indicator().toStdString();
    WaitUntil([] { return false; }, 500);  // the input has been held a while

    // The transmission and its sound begin together and last 3 s after the
    // window saw them; then the squelch closes (the scan delay: nothing else
    // changes) until the hit is logged.
    RadioView hit = DispatchHit();
    hit.receiving = true;
    speaker.StartTone();
    radio->SetOverride(hit);
    ASSERT_TRUE(WaitUntil([&] { return indicator() != "Waiting"; }, 3000));
    QElapsedTimer shown;
    shown.start();
    WaitUntil([] { return false; }, 3000);
    hit.receiving = false;
    radio->SetOverride(hit);
    speaker.Silence();
    ASSERT_TRUE(WaitUntil([&] { return indicator() == "Waiting"; }, 3000));
    const qint64 hitMs = shown.elapsed();
    // The window followed the transmission (a busy machine drops some ticks).
    EXPECT_GE(hitMs, 3000);
    EXPECT_LT(hitMs, 5000);
    ASSERT_TRUE(WaitUntil([&] { return !Logged(form).empty(); }, 3000));

    // One wave file and no temporary file left, named from the hit as logged.
    const std::vector<std::string> files = Files(folder, kWaveOrTemporary);
    ASSERT_EQ(files.size(), 1u);
    const std::string line = Logged(form);
    std::smatch logged;
    ASSERT_TRUE(std::regex_match(
        line, logged, std::regex(R"(County / Fire\tDispatch 1\t 154\.4300\t\t([^\t]+)\t([^\t]+)\t([^\t]+)\r\n)")))
        << line;
    EXPECT_EQ(files[0], "County_Fire_Dispatch-1_-154.4300___" + FixForLog(logged[1].str()) + "_" +
                            FixForLog(logged[2].str()) + "_" + logged[3].str() + ".wav");

    SF_INFO info{};
    SNDFILE* file = sf_open(folder.FilePath(files[0]).c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    std::vector<short> frames(static_cast<size_t>(info.frames * info.channels));
    const sf_count_t read = sf_readf_short(file, frames.data(), info.frames);
    sf_close(file);
    ASSERT_EQ(read, info.frames);
    ASSERT_GT(read, 0);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    const double seconds = double(info.frames) / info.samplerate;
    // As long as the hit as the window saw it, and what came before it since
    // the squelch was last seen closed (at most what is held in memory).
    EXPECT_GT(seconds, hitMs / 1000.0 - 0.3);
    EXPECT_LT(seconds, (hitMs + kPreRollKeepMs) / 1000.0 + 0.3);

    // The tone's onset is inside the recording: silence first, then all of it.
    const RadioAudio::Onset onset = RadioAudio::FindOnset(frames, info.channels, info.samplerate);
    ASSERT_TRUE(onset.found);
    EXPECT_GT(onset.silentMs, 0.0);
    EXPECT_LT(onset.missingMs, 1.0);
    // The tone's first 2 s: rising through zero 440 times a second at the header's rate.
    const size_t step = size_t(info.channels);
    const size_t toneStart = size_t(onset.silentMs * info.samplerate / 1000) * step;
    const size_t toneEnd = std::min(frames.size(), toneStart + size_t(2 * info.samplerate) * step);
    int rises = 0;
    for (size_t i = toneStart + step; i < toneEnd; i += step) rises += frames[i - step] < 0 && frames[i] >= 0;
    EXPECT_NEAR(rises / 2.0, 440.0, 10.0);

    // The input stops without an error: after 2 s without samples it is let
    // go, the user is told, and it is opened again.
    speaker.SetFeeding(false);
    EXPECT_TRUE(WaitUntil([&] { return indicator() == "Sound input stopped - reopening"; }, 4000)) << indicator().toStdString();
    speaker.SetFeeding(true);
}

TEST(AudioEndToEnd, WithNoSoundServerTheProgramLogsHitsWithoutRecordings) {
    App();
    AppFolder folder;
    const auto radio = RadioAndSettings(folder);
    QTemporaryDir runtime;  // a runtime folder with no sound server in it
    QProcessEnvironment env = ProgramEnvironment();
    env.remove("XDG_RUNTIME_DIR");  // as in a session started without one
    env.insert("PULSE_SERVER", "unix:" + runtime.path() + "/pulse/native");
    QProcess program;
    StartQuorvane(program, {"--app-dir", folder.Path()}, env);
    ASSERT_TRUE(program.waitForStarted(5000));
    ASSERT_TRUE(WaitUntil([&] { return radio->ReceivedCommands().size() > 6; }, 10000));  // polling

    Transmission(*radio, DispatchHit(), 800);
    std::string logged;
    EXPECT_TRUE(WaitUntil([&] {
        const auto logs = Files(folder, std::regex(R"(\d\d-\d\d-\d{4}_.*\.txt)"));
        if (!logs.empty()) logged = folder.Read(logs[0]);
        return logged.find("County / Fire\tDispatch 1\t") != std::string::npos;
    }, 5000)) << logged;
    EXPECT_EQ(program.state(), QProcess::Running);  // the failed recording did not end it
    EXPECT_TRUE(Files(folder, kWaveOrTemporary).empty());
    program.terminate();
    program.waitForFinished(5000);
    // The console says it once, in plain words, and nothing of Qt's chatter.
    const QString console = QString::fromLocal8Bit(program.readAllStandardError());
    EXPECT_EQ(console.count("no sound server is running"), 1) << console.toStdString();
    EXPECT_FALSE(console.contains("pa_context_connect")) << console.toStdString();
    EXPECT_FALSE(console.contains("XDG_RUNTIME_DIR")) << console.toStdString();
}
