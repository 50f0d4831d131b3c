#pragma once
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QThread>
#include <functional>
#include <optional>
#include <string>

#include "history/HistoryHit.h"
#include "history/HistoryServer.h"
#include "history/qt/HistoryStore.h"
#include "monitor/HitRecord.h"

namespace quorvane {

class HistorySender;
class HistoryWriter;

// Keeps every logged hit in the history, with or without a window (a
// station with no screen uses it alone). The hits go to history.sqlite beside
// the log files and, when history_server.txt names a server, on to the
// server. The writing runs on threads of its own: what the window's thread
// does per hit is hand it over.
//
// The window (or a headless station):
//   auto* history = new HistoryRecorder([this] { return logFolder; }, appDirectory, this);
//   connect(history, &HistoryRecorder::Tell, ...);  // a message box
//   connect(history, &HistoryRecorder::Note, ...);  // a few words in Text3
//   history->StartRun(now, launchDate, launchTime);  // at start-up
//   history->Follow(poll.Hit());                     // after every accepted poll tick
//   history->AddHit(ended, recordingFileName);       // when a hit ends
//   history->Flush();                                // when the window closes
class HistoryRecorder : public QObject {
    Q_OBJECT
public:
    // logFolder: where the log files go now (the history lies beside them).
    // appDirectory: where history_server.txt is.
    HistoryRecorder(std::function<QString()> logFolder, QString appDirectory, QObject* parent = nullptr);
    ~HistoryRecorder() override;  // flushes, then stops the threads

    // The run the following hits belong to; also opens the history (an older
    // file is brought up to date now rather than at the first hit).
    void StartRun(const QDateTime& startedAt, const std::string& launchDate, const std::string& launchTime);
    // After every accepted poll tick: the hit's start is the tick that took
    // its start time for the log line.
    void Follow(const HitRecord& hit);
    // A hit ended; recordingFile is the name its recording was saved under.
    void AddHit(const HitEnded& ended, const std::string& recordingFile);
    // Waits (at most timeoutMs) until every hit handed over is in the local
    // history, trying once more those it did not take before. True when none
    // is left out. Hits not yet on the server stay marked for the next run.
    bool Flush(int timeoutMs = 5000);

    // Reads history_server.txt again (after the History tab saved it).
    void ReloadServer();

    QString HistoryPath() const;
    const QString& AppDirectory() const { return appDirectory_; }
    const std::optional<HistoryServerSettings>& Server() const { return server_; }
    // The server has not taken the latest hits, and how many wait for it.
    bool ServerAway() const { return serverAway_; }
    qint64 Waiting() const { return waiting_; }

signals:
    void Tell(const QString& message);
    void Note(const QString& text);
    void Opened();
    void HitStored();
    void ServerChanged();

private:
    void StartSender();
    void StopSender();
    void KickSender();

    std::function<QString()> logFolder_;
    QString appDirectory_;
    HistoryRun run_;
    std::optional<Instant> hitStart_;
    std::optional<HistoryServerSettings> server_;
    bool serverAway_ = false;
    qint64 waiting_ = 0;
    QThread writerThread_;
    HistoryWriter* writer_ = nullptr;
    QThread* senderThread_ = nullptr;
    HistorySender* sender_ = nullptr;
};

}  // namespace quorvane
