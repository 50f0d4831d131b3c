#pragma once
#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>

#include "app/SettingsFiles.h"
#include "monitor/EndHit.h"
#include "monitor/HitIntelTable.h"
#include "monitor/SkipList.h"
#include "monitor/StatusText.h"
#include "monitor/TickOutcome.h"

namespace quorvane {

class AlertWatcher;
class HistoryRecorder;
class HitLog;
class HitRecorder;
class KeyPlayer;
class LinkRunner;
class Poller;
class ScannerLink;

// The station: the scanner's link and its runner, the poll, the hit log,
// recording, the history, the keys and the alerts, wired together with no
// window. The main window
// adds its panels to one; a station without a screen runs one alone.
class Station : public QObject {
    Q_OBJECT
public:
    Station(QString appDirectory, const QDateTime& startedAt, QObject* parent = nullptr);
    ~Station() override;

    const QString& AppDirectory() const { return appDirectory_; }
    ScannerLink& Link() { return *link_; }
    LinkRunner& Runner() { return *runner_; }
    Poller& Poll() { return *poller_; }
    HitLog& Log() { return *log_; }
    HitRecorder& Recorder() { return *recorder_; }
    KeyPlayer& Keys() { return *keys_; }
    AlertWatcher& Alerts() { return *alerts_; }
    HistoryRecorder& History() { return *history_; }
    HitIntelTable& HitIntel() { return hitIntel_; }
    SkipList& Skips() { return skipList_; }

    // com_settings.txt, as saved by Run (the poll interval is applied).
    ComSettings ReadComSettings();
    // hit_intel.txt into the table.
    void LoadHitIntel();

    // Starts the station from its app folder: the prompt "Select COM Port",
    // from pgm_settings.txt the log folder, "Log To Text File" (the file is
    // first written at the next hit) and "Record Audio", then hit_intel.txt
    // and this run's history. Gives pgm_settings.txt as read, for a
    // window's own parts of it; nothing when there is no such file.
    std::optional<PgmSettings> StartFromAppFolder();
    // The port saved in com_settings.txt, run when the file names one.
    struct SavedPort {
        bool saved = false;  // com_settings.txt exists
        ComSettings com;
        bool running = false;
    };
    SavedPort RunSavedPort();

    // Run: opens port portIndex + 1 at speed speedIndex and starts polling;
    // false (and the prompt says why) when the port cannot be opened.
    bool Run(int portIndex, int speedIndex, bool writeSettings);
    void Stop();
    bool Running() const;
    // Before the program ends: whatever serves the station from outside
    // stops (ShuttingDown), a scanner in programming mode is told to leave
    // it, what is still to go out goes, and hits held back are written to
    // the history.
    void Shutdown();

    // Text3: the prompt (while stopped), and short notes for a few seconds.
    void SetPrompt(const QString& text);
    void Note(const QString& text);
    // An alert held in Text3 goes (a click on it, the next hit).
    void LetGoOfAlert();
    QString Text3() const;

    // A message for the user (a window that does not stop the poll);
    // onClosed runs once it has been read.
    void Tell(const QString& text, std::function<void()> onClosed = {});
    const QString& LastMessage() const { return lastMessage_; }

signals:
    void RunningChanged(bool running);
    // The program is ending: the browser remote, the feed and the MQTT
    // bridge stop (the broker hears "offline" while the station still runs).
    void ShuttingDown();
    void Text3Changed(const QString& text);
    // Whether the display shows the scanner as it is now; when not, why
    // ("Stopped", "No reply", ...).
    void LiveChanged(bool live, const QString& why);
    void TellRequested(const QString& text, const std::function<void()>& onClosed);
    // The line is going away (Stop: still open; lost: gone): whoever
    // holds it lets go.
    void Stopping(bool lineStillOpen);
    // An accepted tick, after its actions.
    void Ticked(const quorvane::TickOutcome& outcome);
    void ExtendedInfoWanted(const quorvane::ExtendedInfoSource& source);
    // A hit ended: logged (when it was) and its recording saved under
    // recordingFile (empty when none).
    void HitLogged(const quorvane::HitEnded& ended, const std::string& recordingFile);

private:
    void OnHitOver(const HitEnded& ended);
    void OnHolderChanged();
    void UpdateText3();
    void UpdateLive();

    QString appDirectory_;
    HitIntelTable hitIntel_;
    SkipList skipList_;
    ScannerLink* link_ = nullptr;
    LinkRunner* runner_ = nullptr;
    Poller* poller_ = nullptr;
    HitLog* log_ = nullptr;
    HitRecorder* recorder_ = nullptr;
    KeyPlayer* keys_ = nullptr;
    AlertWatcher* alerts_ = nullptr;
    HistoryRecorder* history_ = nullptr;
    StatusText text3_;
    QDateTime startedAt_;
    QElapsedTimer clock_;
    QTimer text3Timer_;  // a note runs out
    QString shownText3_;
    bool live_ = false;
    QString notLiveWhy_;
    QString lastMessage_;
};

}  // namespace quorvane
