// The live feed and the call uploads of the real program (--headless) on a
// simulated scanner with a real sound input: a real icecast2 on a free local
// port, checked through its status page and its stream, and a local HTTP
// receiver standing in for the call server.
#include <QCheckBox>
#include <QLabel>
#include <signal.h>

#include "RadioAudio.h"
#include "E2eSupport.h"
#include "ShareServices.h"
#include "feed/FeedSettings.h"
#include "feed/Mp3Encoder.h"

using namespace quorvane;
using namespace quorvane::e2e;
using namespace quorvane::test;

namespace {

// "Record Audio" and "Log To Text File" ticked, the log in the app folder.
const char* kRecordingSettings = "0\r\n1\r\n1\r\n0\r\n37\r\n37\r\n1\r\n0\r\n0\r\n\"\"\r\n4\r\n";

// The program on folder's radio with the radio's sound as its input; what it
// says on standard error collects in Said().
class Headless {
public:
    Headless(const AppFolder& folder, RadioAudio& speaker, const QStringList& extra = {}) {
        QProcessEnvironment env = ProgramEnvironment("xcb");
        env.insert("PULSE_SERVER", QString::fromStdString(speaker.Server()));
        StartQuorvane(program_, QStringList{"--headless", "--app-dir", folder.Path()} + extra, env);
        program_.waitForStarted(5000);
    }
    ~Headless() { Quit(); }
    const QString& Said() {
        said_ += QString::fromUtf8(program_.readAllStandardError());
        return said_;
    }
    bool Says(const QString& text, int timeoutMs = 10000) {
        return WaitUntil([&] { return Said().contains(text); }, timeoutMs);
    }
    int Quit() {
        if (program_.state() == QProcess::NotRunning) return program_.exitCode();
        ::kill(static_cast<pid_t>(program_.processId()), SIGTERM);
        program_.waitForFinished(10000);
        Said();
        return program_.exitCode();
    }

private:
    QProcess program_;
    QString said_;
};

struct ScannerSetup {
    AppFolder folder;
    RadioAudio speaker{QT_TESTCASE_SOURCEDIR "/../scripts/test-audio"};
    std::unique_ptr<Simulator> radio;

    ScannerSetup() {
        App();
        radio = StartRadio(folder);
        folder.SaveComSettings();
        folder.Write("pgm_settings.txt", kRecordingSettings);
        speaker.StartTone();
    }
    // A transmission long enough to record (the sine source hands over its
    // sound in blocks of about 2 s), after a moment of quiet.
    void Hit(const RadioView& view) {
        radio->SetOverride(Idle());
        WaitUntil([] { return false; }, 500);
        Transmission(*radio, view, 2500);
    }
};

// The named fields of an upload, for comparing with what is expected.
Upload Picked(const Upload& upload, std::initializer_list<const char*> names) {
    Upload picked;
    for (const char* name : names) picked[name] = upload.count(name) ? upload.at(name) : "(missing)";
    return picked;
}

TEST(FeedE2e, GoesOnAirAsMp3OfTheBitRateAndIsTitledByTheHits) {
    ScannerSetup station;
    ASSERT_EQ(station.speaker.Error(), "");
    Icecast icecast;
    ASSERT_TRUE(icecast.Start()) << icecast.Error();
    station.folder.Write("feed.txt", "url=" + icecast.SourceUrl("/scanner.mp3").toStdString() +
                                         "\r\nbitrate=16\r\nsamplerate=22050\r\nname=Test Station\r\nstart=0\r\n");
    Headless program(station.folder, station.speaker, {"--feed"});
    ASSERT_TRUE(program.Says("Feed: on air")) << program.Said().toStdString();

    const auto title = [&] { return icecast.Mount("/scanner.mp3")["title"].toString(); };
    EXPECT_TRUE(WaitUntil([&] { return title() == "Test Station"; }, 5000)) << title().toStdString();
    // The stream is MP3 at 16 kbit/s, mono, 22050 Hz.
    const QByteArray stream = HttpGet(QString("http://127.0.0.1:%1/scanner.mp3").arg(icecast.Port()), 4000, 15000);
    const Mp3Frames frames = ReadMp3Frames(std::vector<std::uint8_t>(stream.begin(), stream.end()));
    EXPECT_GE(frames.bitrates.size(), 40u);  // 4000 bytes of 16 kbit/s frames (about 52 bytes each) in a row
    EXPECT_EQ(frames.bitrates, std::vector<int>(frames.bitrates.size(), 16));
    EXPECT_EQ(frames.sampleRate, 22050);
    EXPECT_TRUE(frames.mono);

    // A hit names the stream while it lasts; its end gives back the idle title.
    station.radio->SetOverride(Receiving(Reception("County Fire", "Dispatch 1", "01544300")));
    EXPECT_TRUE(WaitUntil([&] { return title() == "County Fire / Dispatch 1"; }, 5000)) << title().toStdString();
    station.radio->SetOverride(Idle());
    EXPECT_TRUE(WaitUntil([&] { return title() == "Test Station"; }, 8000)) << title().toStdString();

    // The server goes away: the feed waits for it.
    icecast.Stop();
    EXPECT_TRUE(program.Says("Feed: reconnecting in 1 s")) << program.Said().toStdString();
    EXPECT_EQ(program.Quit(), 0) << program.Said().toStdString();
}

// The window's Feed box writes feed.txt and starts the feed; the Calls line
// says what waits.
TEST(FeedE2e, TheFeedBoxSavesTheAddressAndStartsTheFeed) {
    App();
    AppFolder folder;
    folder.Write("feed.txt", "# mine\r\nbitrate=24\r\n");
    Form1 form(folder.Path());
    auto* url = form.findChild<QLineEdit*>("feed_url");
    auto* start = form.findChild<QCheckBox*>("feed_start");
    auto* state = form.findChild<QLabel*>("feed_state");
    ASSERT_TRUE(url && start && state);
    EXPECT_EQ(state->toolTip(), "Feed: off");
    const QString address = QString("icecast://source:pw@127.0.0.1:%1/box.mp3").arg(FreeLocalPort());
    url->setText(address);
    emit url->editingFinished();
    start->setChecked(true);
    const FeedSettings saved = ReadFeedSettings(folder.Read("feed.txt"));
    EXPECT_EQ(saved.url, address.toStdString());
    EXPECT_TRUE(saved.start);
    EXPECT_EQ(saved.bitrate, 24);  // the lines written by hand stay
    EXPECT_TRUE(WaitUntil([&] { return state->toolTip().startsWith("Feed: reconnecting in 1 s"); }, 5000))
        << state->toolTip().toStdString();
    EXPECT_EQ(form.findChild<QLabel*>("calls_state")->toolTip(), "Calls: off (no server in calls.txt)");
    start->setChecked(false);
    EXPECT_EQ(state->toolTip(), "Feed: off");
    EXPECT_FALSE(ReadFeedSettings(folder.Read("feed.txt")).start);
}

TEST(FeedE2e, WaitsForAServerThatIsDownAndSaysWhenThePasswordIsRefused) {
    ScannerSetup station;
    ASSERT_EQ(station.speaker.Error(), "");
    Icecast icecast;  // not started yet
    station.folder.Write("feed.txt", "url=" + icecast.SourceUrl("/live.mp3", "wrong").toStdString() + "\r\nstart=1\r\n");
    Headless refused(station.folder, station.speaker);
    ASSERT_TRUE(refused.Says("Feed: reconnecting in 1 s")) << refused.Said().toStdString();
    ASSERT_TRUE(icecast.Start()) << icecast.Error();
    EXPECT_TRUE(refused.Says("Feed: server refused the password", 20000)) << refused.Said().toStdString();
    EXPECT_EQ(refused.Quit(), 0);
}

// The uploads a server kept, each call once (by its time and frequency): a
// call the server took after its sender had given up on it comes again.
std::vector<Upload> Distinct(const std::vector<Upload>& kept) {
    std::vector<Upload> calls;
    for (const Upload& upload : kept) {
        const auto same = [&](const Upload& other) {
            return other.at("dateTime") == upload.at("dateTime") && other.at("frequency") == upload.at("frequency");
        };
        if (std::none_of(calls.begin(), calls.end(), same)) calls.push_back(upload);
    }
    return calls;
}

TEST(CallsE2e, EveryRecordedHitIsUploadedInOrderAlsoAfterTheServerWasAway) {
    ScannerSetup station;
    ASSERT_EQ(station.speaker.Error(), "");
    CallReceiver receiver;
    station.folder.Write("calls.txt", "# test\r\nrdio-scanner " + receiver.Url().toStdString() +
                                          " d2079382-07df-4aa9-8940-8fb9e4ef5f2e 11\r\n"
                                          "talkgroup 4242 Dispatch 2\r\n");
    receiver.Answer(503);
    const auto queued = [&] { return QDir(station.folder.Path() + "/calls_queue").entryList(QDir::Files).size(); };
    {
        Headless program(station.folder, station.speaker);
        ASSERT_TRUE(program.Says("Calls: none waiting")) << program.Said().toStdString();
        station.Hit(Reception("County Fire", "Dispatch 1", "01544300"));
        ASSERT_TRUE(WaitUntil([&] { return receiver.Tries() >= 1; }, 10000)) << program.Said().toStdString();
        station.Hit(Reception("County Fire", "Dispatch 2", "04600125"));
        ASSERT_TRUE(WaitUntil([&] { return queued() == 2; }, 10000)) << program.Said().toStdString();
        EXPECT_TRUE(program.Says("Calls: 2 waiting; last error:")) << program.Said().toStdString();
        EXPECT_EQ(program.Quit(), 0);
    }
    // The server answers again; the next run sends what waited, oldest first.
    // (A try of the first run still on its way may be answered after that
    // run is gone: the call is then sent again, as it must be, and the
    // server has it twice.)
    receiver.Answer(200);
    Headless program(station.folder, station.speaker);
    ASSERT_TRUE(WaitUntil([&] { return Distinct(receiver.Kept()).size() == 2 && queued() == 0; }, 15000))
        << program.Said().toStdString();
    const Upload first = Distinct(receiver.Kept())[0];
    EXPECT_EQ(Picked(first, {"key", "system", "frequency", "talkgroup", "systemLabel", "talkgroupLabel"}),
              (Upload{{"key", "d2079382-07df-4aa9-8940-8fb9e4ef5f2e"}, {"system", "11"}, {"frequency", "154430000"},
                      {"talkgroup", "1544300"}, {"systemLabel", "County Fire"}, {"talkgroupLabel", "Dispatch 1"}}));
    EXPECT_EQ(first.at("dateTime").size(), std::string("2026-12-06T15:20:01.000Z").size());
    EXPECT_EQ(first.at("audio").substr(0, 4), "RIFF");
    EXPECT_EQ(Picked(Distinct(receiver.Kept())[1], {"frequency", "talkgroup"}),
              (Upload{{"frequency", "460012500"}, {"talkgroup", "4242"}}));

    // A trunked hit goes under its talkgroup ID, with its three names.
    station.Hit(Trunked("Metro Trunk", "ID:12345", "08552375", "12345", "Metro", "Police", "Dispatch"));
    ASSERT_TRUE(WaitUntil([&] { return Distinct(receiver.Kept()).size() == 3; }, 10000)) << program.Said().toStdString();
    EXPECT_EQ(Picked(Distinct(receiver.Kept())[2], {"talkgroup", "frequency", "systemLabel", "talkgroupGroup", "talkgroupLabel"}),
              (Upload{{"talkgroup", "12345"}, {"frequency", "855237500"}, {"systemLabel", "Metro"},
                      {"talkgroupGroup", "Police"}, {"talkgroupLabel", "Dispatch"}}));

    // A refusal is said once and the call is not tried again.
    receiver.Answer(401);
    const int before = receiver.Tries();
    station.Hit(Reception("County Fire", "Dispatch 1", "01544300"));
    EXPECT_TRUE(program.Says("refused a call (401")) << program.Said().toStdString();
    EXPECT_TRUE(WaitUntil([&] { return queued() == 0; }, 5000));
    WaitUntil([] { return false; }, 1500);
    EXPECT_EQ(receiver.Tries(), before + 1);
    EXPECT_EQ(program.Quit(), 0);
}

}  // namespace
