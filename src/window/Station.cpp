#include "window/Station.h"

#include "alerts/qt/AlertWatcher.h"
#include "app/qt/AppFiles.h"
#include "history/qt/HistoryRecorder.h"
#include "input/qt/KeyPlayer.h"
#include "link/qt/LinkRunner.h"
#include "link/qt/ScannerLink.h"
#include "monitor/LogText.h"
#include "monitor/qt/HitLog.h"
#include "monitor/qt/HitRecorder.h"
#include "monitor/qt/Poller.h"

namespace quorvane {
namespace {
// How long the last commands (an "EPG") may take to leave when the program ends.
constexpr int kFlushAtExitMs = 500;
}  // namespace

Station::Station(QString appDirectory, const QDateTime& startedAt, QObject* parent)
    : QObject(parent), appDirectory_(std::move(appDirectory)), startedAt_(startedAt) {
    clock_.start();
    // The run's date and time stamps name the log file and end every log line.
    const std::string launchDate =
        LaunchDateText(startedAt.date().year(), startedAt.date().month(), startedAt.date().day());
    const std::string launchTime = FixForLog(startedAt.time().toString("h:mm:ss AP").toStdString());
    link_ = new ScannerLink(this);
    runner_ = new LinkRunner(*link_, appDirectory_, this);
    poller_ = new Poller(*link_, hitIntel_, skipList_, launchDate, this);
    log_ = new HitLog(appDirectory_, launchDate, launchTime, this);
    recorder_ = new HitRecorder(*poller_, this);
    keys_ = new KeyPlayer(*link_, this);
    alerts_ = new AlertWatcher(JoinPath(appDirectory_, "alerts.txt"), this);
    // The history lies beside the log files, wherever they go now.
    history_ = new HistoryRecorder([this] { return log_->FolderPath(); }, appDirectory_, this);
    poller_->SetRecordAudio([this] { return recorder_->Wanted(); });
    // With no notification service the alert is said in Text3, and stays
    // there until the next hit starts or the user clicks it away.
    alerts_->SetFallback([this](const QString& text) {
        text3_.Hold(text.toStdString());
        UpdateText3();
    });
    // The tone pages are listened for on the recordings' sound input.
    alerts_->SetSoundTaps([this](AlertWatcher::SoundListener listener) { return recorder_->AddSoundTap(std::move(listener)); },
                          [this](int tap) { recorder_->RemoveSoundTap(tap); });
    connect(alerts_, &AlertWatcher::ServiceMissing, this, &Station::Note);
    alerts_->CheckService();
    connect(&alerts_->Hooks(), &WebHookSender::Failed, this, [this](const QString& hook, const QString& why) {
        Note(QString("Alert not sent to %1: %2").arg(hook, why));
    });

    text3Timer_.setSingleShot(true);
    connect(&text3Timer_, &QTimer::timeout, this, &Station::UpdateText3);
    connect(runner_, &LinkRunner::MessageChanged, this, [this](const QString& message) {
        text3_.SetLinkMessage(message.toStdString());
        UpdateText3();
        UpdateLive();
    });
    connect(runner_, &LinkRunner::LineLost, this, [this] {
        poller_->Stop();
        keys_->Clear();
        emit Stopping(false);
    });
    connect(runner_, &LinkRunner::LineBack, this, [this] {
        link_->ForgetOwed();
        poller_->Start();
    });
    connect(link_, &ScannerLink::HolderChanged, this, &Station::OnHolderChanged);
    connect(poller_, &Poller::Silent, runner_, &LinkRunner::SetPollSilent);
    connect(poller_, &Poller::RecordingWanted, this, [this] { recorder_->Start(log_->FolderBytes()); });
    connect(poller_, &Poller::ExtendedInfoWanted, this, &Station::ExtendedInfoWanted);
    connect(poller_, &Poller::HitOver, this, &Station::OnHitOver);
    // An alert held in Text3 belongs to its hit: the next one lets it go
    // (before the alerts hear of that hit, which may hold a new one).
    connect(poller_, &Poller::Ticked, this, [this](const TickOutcome& outcome) {
        FollowHitActions(
            outcome, [this](const LiveHit&) { LetGoOfAlert(); }, [](const LiveHit&) {}, [](const HitEnded&) {});
    });
    connect(poller_, &Poller::Ticked, alerts_, &AlertWatcher::Follow);
    connect(poller_, &Poller::Ticked, this, [this] { history_->Follow(poller_->Hit()); });
    connect(poller_, &Poller::Ticked, this, &Station::Ticked);
    connect(recorder_, &HitRecorder::Indicator, this, [this](const QString& text) {
        text3_.SetBase(text.toStdString());
        UpdateText3();
    });
    const auto tell = [this](const QString& text) { Tell(text); };
    connect(recorder_, &HitRecorder::Tell, this, tell);
    connect(log_, &HitLog::Tell, this, tell);
    connect(log_, &HitLog::Note, this, &Station::Note);
    connect(recorder_, &HitRecorder::Note, this, &Station::Note);
    connect(keys_, &KeyPlayer::Tell, this, tell);
    connect(history_, &HistoryRecorder::Tell, this, tell);
    connect(history_, &HistoryRecorder::Note, this, &Station::Note);
    connect(keys_, &KeyPlayer::NotRunning, this, &Station::Note);
}

Station::~Station() = default;

ComSettings Station::ReadComSettings() {
    const auto bytes = ReadFileBytes(JoinPath(appDirectory_, kComSettingsFile));
    const ComSettings com = quorvane::ReadComSettings(bytes.value_or(""));
    poller_->SetInterval(com.pollInterval);
    return com;
}

void Station::LoadHitIntel() {
    if (const auto bytes = ReadFileBytes(JoinPath(appDirectory_, "hit_intel.txt"))) hitIntel_.LoadLines(*bytes);
}

std::optional<PgmSettings> Station::StartFromAppFolder() {
    SetPrompt("Select COM Port");
    std::optional<PgmSettings> pgm;
    if (const auto bytes = ReadFileBytes(JoinPath(appDirectory_, kPgmSettingsFile))) {
        pgm = ReadPgmSettings(*bytes);
        log_->SetLogDirectory(pgm->logDirectory);
        log_->SetWritesFile(pgm->logText == 1, false);
        recorder_->SetWanted(pgm->recordAudio == 1);
    }
    LoadHitIntel();
    // The history lies beside the log files: opened once their folder is known.
    history_->StartRun(startedAt_, log_->LaunchDate(), log_->LaunchTime());
    return pgm;
}

Station::SavedPort Station::RunSavedPort() {
    SavedPort port;
    port.saved = FileExists(JoinPath(appDirectory_, kComSettingsFile));
    if (!port.saved) return port;
    port.com = ReadComSettings();
    if (port.com.portIndex >= 0 && port.com.speedIndex >= 0) port.running = Run(port.com.portIndex, port.com.speedIndex, false);
    return port;
}

bool Station::Running() const { return runner_->Running(); }

bool Station::Run(int portIndex, int speedIndex, bool writeSettings) {
    const int speed = kPortSpeeds[std::clamp(speedIndex, 0, static_cast<int>(std::size(kPortSpeeds)) - 1)];
    if (!runner_->Run(portIndex + 1, speed)) {
        // Stay stopped and say what is wrong; nothing else changes.
        SetPrompt(runner_->Failure());
        return false;
    }
    link_->ForgetOwed();
    recorder_->Reopen();
    poller_->Start();
    recorder_->SetRunning(true);
    if (writeSettings) {
        const ComSettings com{portIndex, speedIndex, poller_->Interval(), {}};
        QString error;
        if (!WriteFileAtomically(JoinPath(appDirectory_, kComSettingsFile), WriteComSettings(com), &error)) {
            Tell(QString("com_settings.txt could not be saved in %1 (%2); the next start will not connect by itself.")
                     .arg(appDirectory_, error));
        }
    }
    emit RunningChanged(true);
    UpdateLive();
    return true;
}

void Station::Stop() {
    // Whoever holds the line lets go first: a harvest tells the scanner to
    // leave programming mode before the port closes.
    emit Stopping(true);
    if (link_->InProgramMode()) link_->LeaveProgramMode();
    poller_->Stop();
    recorder_->SetRunning(false);  // a recording under way goes on until the next Run
    keys_->Clear();
    runner_->Stop();
    emit RunningChanged(false);
    UpdateLive();
}

void Station::Shutdown() {
    emit ShuttingDown();
    history_->Flush();
    if (!link_->IsOpen()) return;
    emit Stopping(true);
    if (link_->InProgramMode()) link_->LeaveProgramMode();
    link_->Flush(kFlushAtExitMs);
}

void Station::OnHitOver(const HitEnded& ended) {
    if (ended.LogLine) log_->Add(*ended.LogLine);
    const std::string recording =
        ended.StopRecording ? recorder_->Stop(ended.Names, log_->LaunchDate(), log_->FolderBytes()) : std::string();
    history_->AddHit(ended, recording);
    emit HitLogged(ended, recording);
}

void Station::OnHolderChanged() {
    // The poll rests while a harvest or memory programming has the line.
    const auto holder = link_->Holder();
    if (holder && PutsInProgramMode(*holder)) {
        poller_->Stop();
    } else if (Running() && link_->IsOpen() && !poller_->Polling()) {
        poller_->Start();
    }
}

void Station::SetPrompt(const QString& text) {
    text3_.SetBase(text.toStdString());
    UpdateText3();
}

void Station::Note(const QString& text) {
    text3_.Note(text.toStdString(), clock_.elapsed());
    UpdateText3();
}

void Station::LetGoOfAlert() {
    if (text3_.LetGo()) UpdateText3();
}

QString Station::Text3() const { return shownText3_; }

void Station::UpdateText3() {
    const qint64 now = clock_.elapsed();
    const QString shown = QString::fromStdString(text3_.Shown(now));
    if (const auto next = text3_.NextChangeMs(now)) text3Timer_.start(static_cast<int>(*next - now));
    if (shown == shownText3_) return;
    shownText3_ = shown;
    emit Text3Changed(shown);
}

void Station::UpdateLive() {
    const bool live = runner_->Live();
    const QString why = live ? QString() : Running() ? runner_->Message() : QString("Stopped");
    if (live == live_ && why == notLiveWhy_) return;
    live_ = live;
    notLiveWhy_ = why;
    emit LiveChanged(live, why);
}

void Station::Tell(const QString& text, std::function<void()> onClosed) {
    lastMessage_ = text;
    emit TellRequested(text, onClosed);
}

}  // namespace quorvane
