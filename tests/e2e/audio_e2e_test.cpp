// Hits recorded from a real sound input: the main window on a simulated
// scanner, with a PulseAudio server whose only input is a 440 Hz sine wave
// (scripts/test-audio, which these tests run when the server is not up yet).
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMediaDevices>
#include <QAudioDevice>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <regex>

#include "E2eSupport.h"
#include "monitor/LogText.h"
#include "ui/AudioRecorder.h"

using namespace quorvane;
using namespace quorvane::e2e;

namespace {

const char* kNoServer = "no sound input: scripts/test-audio could not start the test sound server";

// Points this process at the test sound server, started by scripts/test-audio
// when it is not running yet, so that recordings come from its sine wave and
// never from a microphone the machine may have. Done before the first use of
// the sound devices in the process.
void UseTestSoundServer() {
    static const bool done = [] {
        QProcess script;
        script.start("bash", {QT_TESTCASE_SOURCEDIR "/../scripts/test-audio"});
        script.waitForFinished(30000);
        for (const QByteArray& line : script.readAllStandardOutput().split('\n')) {
            const QByteArray prefix = "export PULSE_SERVER=";
            if (line.startsWith(prefix)) qputenv("PULSE_SERVER", line.mid(prefix.size()));
        }
        return true;
    }();
    (void)done;
}

bool SoundInputPresent() {
    UseTestSoundServer();
    return !QMediaDevices::defaultAudioInput().isNull();
}

// pgm_settings.txt with "Record Audio" ticked, "Log To Text File" as given
// and the log folder as given.
std::string RecordingSettings(bool logText, const std::string& logDirectory = "") {
    return std::string("0\r\n1\r\n") + (logText ? "1" : "0") + "\r\n0\r\n37\r\n37\r\n1\r\n0\r\n0\r\n\"" +
           logDirectory + "\"\r\n4\r\n";
}

const char* kHitIntel = "01544300\tDispatch 1\tFire\tCounty\r\n";

RadioView DispatchHit() {
    RadioView hit = Idle();
    hit.line1 = PadLine("County Fire");
    hit.line2 = PadLine("Dispatch 1");
    hit.icons1 = "110000000000000";
    hit.frequency = "01544300";
    return hit;
}

std::vector<std::string> FileNames(const QString& folder) {
    std::vector<std::string> names;
    for (const QString& name : QDir(folder).entryList(QDir::Files)) names.push_back(name.toStdString());
    return names;
}

std::vector<std::string> Matching(const std::vector<std::string>& names, const std::regex& pattern) {
    std::vector<std::string> found;
    for (const std::string& name : names) {
        if (std::regex_match(name, pattern)) found.push_back(name);
    }
    return found;
}

const std::regex kWave(R"(.*\.wav)");
const std::regex kTemporary(R"(temp\d+)");

// A wave file as libsndfile reads it: its header and the first channel.
struct Wave {
    bool valid = false;
    SF_INFO info{};
    std::vector<short> samples;

    double Seconds() const { return info.samplerate > 0 ? double(info.frames) / info.samplerate : 0; }
    double Rms() const {
        double sum = 0;
        for (short s : samples) sum += double(s) * s;
        return samples.empty() ? 0 : std::sqrt(sum / samples.size());
    }
    // The tone's pitch from the rising zero crossings.
    double ToneHz() const {
        int rises = 0;
        for (size_t i = 1; i < samples.size(); ++i) rises += samples[i - 1] < 0 && samples[i] >= 0;
        return Seconds() > 0 ? rises / Seconds() : 0;
    }
};

Wave ReadWave(const std::string& path) {
    Wave wave;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &wave.info);
    if (!file) return wave;
    std::vector<short> frames(static_cast<size_t>(wave.info.frames * wave.info.channels));
    const sf_count_t read = sf_readf_short(file, frames.data(), wave.info.frames);
    sf_close(file);
    wave.valid = read == wave.info.frames;
    for (sf_count_t i = 0; i < read; ++i) wave.samples.push_back(frames[static_cast<size_t>(i * wave.info.channels)]);
    return wave;
}

// A window on a radio scanning quietly, "Record Audio" ticked.
struct Recorded {
    AppFolder folder;
    std::unique_ptr<Simulator> radio;
    std::unique_ptr<Form1> form;

    explicit Recorded(bool logText = true, const std::string& logDirectory = "", const std::string& hitIntel = kHitIntel) {
        App();
        radio = StartRadio(folder);
        radio->SetOverride(Idle());
        folder.SaveComSettings();
        folder.Write("pgm_settings.txt", RecordingSettings(logText, logDirectory));
        folder.Write("hit_intel.txt", hitIntel);
        form = std::make_unique<Form1>(folder.Path());
        form->show();
    }

    QString Text3() const { return form->findChild<QLineEdit*>("Text3")->text(); }
    size_t LoggedHits() const { return static_cast<size_t>(std::count(form->Log().Text().begin(), form->Log().Text().end(), '\n')); }

    // Receives view for holdMs after the window saw the hit begin, then
    // closes the squelch until the hit is logged. Answers how long the
    // window showed the hit, in milliseconds.
    qint64 Transmit(RadioView view, int holdMs) {
        const size_t before = LoggedHits();
        view.receiving = true;
        radio->SetOverride(view);
        if (!WaitUntil([&] { return Text3() != "Waiting"; }, 3000)) return -1;
        QElapsedTimer shown;
        shown.start();
        WaitUntil([] { return false; }, holdMs);
        view.receiving = false;  // the scan delay: squelch closed, nothing else changes
        radio->SetOverride(view);
        if (!WaitUntil([&] { return Text3() == "Waiting"; }, 3000)) return -1;
        const qint64 elapsed = shown.elapsed();
        if (!WaitUntil([&] { return LoggedHits() > before; }, 3000)) return -1;
        radio->SetOverride(Idle());
        return elapsed;
    }
};

}  // namespace

TEST(AudioEndToEnd, AHitIsRecordedIntoOneWaveFileNamedAfterItAndAsLongAsIt) {
    App();
    ASSERT_TRUE(SoundInputPresent()) << kNoServer;
    Recorded r;
    ASSERT_TRUE(r.form->findChild<QCheckBox*>("RecordAudioCheck")->isChecked());
    ASSERT_TRUE(WaitUntil([&] { return r.Text3() == "Waiting"; }, 3000)) << r.Text3().toStdString();

    const qint64 hitMs = r.Transmit(DispatchHit(), 3000);
    ASSERT_GT(hitMs, 0);
    EXPECT_NEAR(hitMs, 3000, 400);  // the window followed the transmission

    const std::vector<std::string> names = FileNames(r.folder.Path());
    EXPECT_TRUE(Matching(names, kTemporary).empty());
    const std::vector<std::string> waves = Matching(names, kWave);
    ASSERT_EQ(waves.size(), 1u);
    // Named from the hit as the log has it, times and all.
    const std::string line = r.form->Log().Text();
    std::smatch logged;
    ASSERT_TRUE(std::regex_match(line, logged, std::regex(R"(County / Fire\tDispatch 1\t 154\.4300\t\t([^\t]+)\t([^\t]+)\t([^\t]+)\r\n)")))
        << line;
    EXPECT_EQ(waves[0], "County_Fire_Dispatch-1_-154.4300___" + FixForLog(logged[1].str()) + "_" +
                            FixForLog(logged[2].str()) + "_" + logged[3].str() + ".wav");

    const Wave wave = ReadWave(r.folder.FilePath(waves[0]));
    ASSERT_TRUE(wave.valid);
    EXPECT_EQ(wave.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    const QAudioFormat preferred = QMediaDevices::defaultAudioInput().preferredFormat();
    EXPECT_EQ(wave.info.samplerate, preferred.sampleRate());
    EXPECT_EQ(wave.info.channels, preferred.channelCount());
    EXPECT_NEAR(wave.Seconds(), hitMs / 1000.0, 0.5);
    EXPECT_GT(wave.Rms(), 1000.0);               // not silence
    EXPECT_NEAR(wave.ToneHz(), 440.0, 10.0);     // the input's tone, not noise
}

TEST(AudioEndToEnd, AFinalNameTheFileSystemRefusesIsToldAndTheHitStillLogged) {
    App();
    ASSERT_TRUE(SoundInputPresent()) << kNoServer;
    // A system name from the hit table too long for a file name.
    Recorded r(true, "", "01544300\tDispatch 1\tFire\t" + std::string(300, 'S') + "\r\n");
    ASSERT_TRUE(WaitUntil([&] { return r.Text3() == "Waiting"; }, 3000));
    ASSERT_GT(r.Transmit(DispatchHit(), 600), 0);
    EXPECT_EQ(r.form->Log().Text().rfind(std::string(300, 'S') + " / Fire\tDispatch 1\t", 0), 0u);
    const std::string message = r.form->LastMessage().toStdString();
    EXPECT_EQ(message.rfind("The recording " + r.folder.FilePath(std::string(300, 'S')), 0), 0u) << message;
    const std::vector<std::string> names = FileNames(r.folder.Path());
    EXPECT_TRUE(Matching(names, kWave).empty());
    EXPECT_TRUE(Matching(names, kTemporary).empty());
}

TEST(AudioEndToEnd, AMissingLogFolderIsToldAndTheHitStillLogged) {
    App();
    ASSERT_TRUE(SoundInputPresent()) << kNoServer;
    QTemporaryDir parent;
    const std::string missing = (parent.path() + "/gone").toStdString();
    Recorded r(false, missing);
    ASSERT_TRUE(WaitUntil([&] { return r.Text3() == "Waiting"; }, 3000));
    ASSERT_GT(r.Transmit(DispatchHit(), 600), 0);
    EXPECT_EQ(r.form->Log().Text().rfind("County / Fire\tDispatch 1\t", 0), 0u);
    const std::string message = r.form->LastMessage().toStdString();
    EXPECT_EQ(message.rfind("The recording file " + missing + "/temp2 cannot be written", 0), 0u) << message;
    EXPECT_TRUE(Matching(FileNames(r.folder.Path()), kWave).empty());
}

TEST(AudioEndToEnd, WithNoSoundServerTheProgramLogsHitsWithoutRecordings) {
    App();
    AppFolder folder;
    auto radio = StartRadio(folder);
    radio->SetOverride(Idle());
    folder.SaveComSettings();
    folder.Write("pgm_settings.txt", RecordingSettings(true));
    folder.Write("hit_intel.txt", kHitIntel);
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
    const std::regex logFile(R"(\d\d-\d\d-\d{4}_.*\.txt)");
    std::string logged;
    EXPECT_TRUE(WaitUntil([&] {
        const auto logs = Matching(FileNames(folder.Path()), logFile);
        if (!logs.empty()) logged = folder.Read(logs[0]);
        return logged.find("County / Fire\tDispatch 1\t") != std::string::npos;
    }, 5000)) << logged;
    EXPECT_EQ(program.state(), QProcess::Running);  // the failed recording did not end it
    const std::vector<std::string> names = FileNames(folder.Path());
    EXPECT_TRUE(Matching(names, kWave).empty());
    EXPECT_TRUE(Matching(names, kTemporary).empty());
    program.kill();
    program.waitForFinished(5000);
}

TEST(AudioEndToEnd, RecorderKeepsAnExistingFileAndRemovesWhatItDiscards) {
    App();
    ASSERT_TRUE(SoundInputPresent()) << kNoServer;
    QTemporaryDir dir;
    const std::string temporary = (dir.path() + "/temp2").toStdString();
    const std::string existing = (dir.path() + "/older.wav").toStdString();
    {
        QFile older(QString::fromStdString(existing));
        ASSERT_TRUE(older.open(QIODevice::WriteOnly));
        older.write("older");
    }
    DefaultInputRecorder recorder;
    EXPECT_TRUE(recorder.TryInput());
    EXPECT_EQ(FileNames(dir.path()).size(), 1u);  // trying the input keeps nothing

    ASSERT_TRUE(recorder.Start(temporary)) << recorder.ErrorText();
    ASSERT_TRUE(WaitUntil([&] { return recorder.FramesWritten() > 0; }, 3000));
    recorder.Stop();
    EXPECT_EQ(recorder.Save(existing), SaveOutcome::AlreadyThere);
    QFile older(QString::fromStdString(existing));
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_EQ(older.readAll(), "older");
    EXPECT_TRUE(ReadWave(temporary).valid);
    recorder.Discard();
    recorder.Close();
    EXPECT_EQ(FileNames(dir.path()), std::vector<std::string>{"older.wav"});
}
