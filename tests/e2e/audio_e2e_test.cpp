// Hits recorded from a real sound input: the main window on a simulated
// scanner, with a PulseAudio server whose only input is a 440 Hz sine wave
// (scripts/test-audio, which these tests run when the server is not up yet).
// The recording rules themselves (names, temporary files, failures told once)
// are covered with a fake recorder in the monitor tests.
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <regex>

#include "E2eSupport.h"
#include "monitor/LogText.h"

using namespace quorvane;
using namespace quorvane::e2e;

namespace {

// Whether the test sound server's input is there. Points this process at the
// server, started by scripts/test-audio when it is not running yet, so that
// recordings come from its sine wave and never from a microphone the machine
// may have. Done before the first use of the sound devices in the process.
bool SoundInputPresent() {
    static const bool started = [] {
        QProcess script;
        script.start("bash", {QT_TESTCASE_SOURCEDIR "/../scripts/test-audio"});
        script.waitForFinished(30000);
        for (const QByteArray& line : script.readAllStandardOutput().split('\n')) {
            const QByteArray prefix = "export PULSE_SERVER=";
            if (line.startsWith(prefix)) qputenv("PULSE_SERVER", line.mid(prefix.size()));
        }
        return true;
    }();
    return started && !QMediaDevices::defaultAudioInput().isNull();
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

TEST(AudioEndToEnd, AHitIsRecordedIntoOneWaveFileNamedAfterItAndAsLongAsIt) {
    App();
    ASSERT_TRUE(SoundInputPresent()) << "no sound input: scripts/test-audio could not start the test sound server";
    AppFolder folder;
    const auto radio = RadioAndSettings(folder);
    Form1 form(folder.Path());
    form.show();
    const auto indicator = [&] { return form.findChild<QLineEdit*>("Text3")->text(); };
    ASSERT_TRUE(WaitUntil([&] { return indicator() == "Waiting"; }, 3000)) << indicator().toStdString();

    // Received for 3 s after the window saw the hit begin, then the squelch
    // closes (the scan delay: nothing else changes) until the hit is logged.
    RadioView hit = DispatchHit();
    hit.receiving = true;
    radio->SetOverride(hit);
    ASSERT_TRUE(WaitUntil([&] { return indicator() != "Waiting"; }, 3000));
    QElapsedTimer shown;
    shown.start();
    WaitUntil([] { return false; }, 3000);
    hit.receiving = false;
    radio->SetOverride(hit);
    ASSERT_TRUE(WaitUntil([&] { return indicator() == "Waiting"; }, 3000));
    const qint64 hitMs = shown.elapsed();
    EXPECT_NEAR(hitMs, 3000, 400);  // the window followed the transmission
    ASSERT_TRUE(WaitUntil([&] { return !form.Log().Text().empty(); }, 3000));

    // One wave file and no temporary file left, named from the hit as logged.
    const std::vector<std::string> files = Files(folder, kWaveOrTemporary);
    ASSERT_EQ(files.size(), 1u);
    const std::string line = form.Log().Text();
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
    EXPECT_NEAR(seconds, hitMs / 1000.0, 0.5);

    // The first channel: loud (not silence) and rising through zero 440 times
    // a second (the input's tone at the header's rate, not noise).
    double sumOfSquares = 0;
    int rises = 0;
    for (size_t i = 0, previous = 0; i < frames.size(); previous = i, i += size_t(info.channels)) {
        sumOfSquares += double(frames[i]) * frames[i];
        rises += frames[previous] < 0 && frames[i] >= 0;
    }
    EXPECT_GT(std::sqrt(sumOfSquares / double(read)), 1000.0);
    EXPECT_NEAR(rises / seconds, 440.0, 10.0);
}

TEST(AudioEndToEnd, WithNoSoundServerTheProgramLogsHitsWithoutRecordings) {
    App();
    AppFolder folder;
    const auto radio = RadioAndSettings(folder);
    QTemporaryDir runtime;  // a runtime folder with no sound server in it
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("PULSE_SERVER", "unix:" + runtime.path() + "/pulse/native");
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QUORVANE_EXE, {"--app-dir", folder.Path()});
    ASSERT_TRUE(program.waitForStarted(5000));
    ASSERT_TRUE(WaitUntil([&] { return radio->ReceivedCommands().size() > 6; }, 10000));  // polling

    RadioView hit = DispatchHit();
    hit.receiving = true;
    radio->SetOverride(hit);
    WaitUntil([] { return false; }, 800);
    hit.receiving = false;
    radio->SetOverride(hit);
    std::string logged;
    EXPECT_TRUE(WaitUntil([&] {
        const auto logs = Files(folder, std::regex(R"(\d\d-\d\d-\d{4}_.*\.txt)"));
        if (!logs.empty()) logged = folder.Read(logs[0]);
        return logged.find("County / Fire\tDispatch 1\t") != std::string::npos;
    }, 5000)) << logged;
    EXPECT_EQ(program.state(), QProcess::Running);  // the failed recording did not end it
    EXPECT_TRUE(Files(folder, kWaveOrTemporary).empty());
    program.kill();
    program.waitForFinished(5000);
}
