#pragma once
#include <QObject>
#include <QString>
#include <QTimer>
#include <string>

#include "monitor/LogText.h"

namespace quorvane {

// The hit log of this run: newest line first, kept in memory for the whole
// run, and mirrored to the run's log file while "Log To Text File" is ticked.
// The file is rewritten whole after every change; a write that fails (a full
// disk, a folder that went away) leaves the file as it was, is told once,
// and is tried again every few seconds and at the next hit until it works,
// so no hit is lost.
class HitLog : public QObject {
    Q_OBJECT
public:
    HitLog(QString appDirectory, std::string launchDate, std::string launchTime, QObject* parent = nullptr);

    // The log folder as pgm_settings.txt keeps it (file-system bytes; used
    // only when usable, else the app folder).
    void SetLogDirectory(std::string bytes) { logDirectory_ = std::move(bytes); }
    const std::string& LogDirectory() const { return logDirectory_; }
    // Where the log file, the recordings and the history go now.
    std::string FolderBytes() const;
    QString FolderPath() const;
    QString FilePathNow() const;
    const std::string& LaunchDate() const { return launchDate_; }
    const std::string& LaunchTime() const { return launchTime_; }

    // "Log To Text File": ticking it writes the file at once (unless
    // writeNow is false: a restored tick waits for the first hit).
    void SetWritesFile(bool on, bool writeNow = true);
    bool WritesFile() const { return writesFile_; }

    // Puts a log line (ending in CR LF) on top.
    void Add(const std::string& line);
    void Clear();
    const LogText& Text() const { return log_; }

signals:
    // A line went on top of the log, and the log was cleared: the grid and
    // the pages follow.
    void RowAdded(const quorvane::LogRow& row);
    void Cleared();
    // A message window for the user, and a few words for Text3.
    void Tell(const QString& text);
    void Note(const QString& text);

private:
    void WriteFile();

    QString appDirectory_;
    std::string launchDate_;
    std::string launchTime_;
    std::string logDirectory_;
    LogText log_;
    bool writesFile_ = false;
    bool failing_ = false;  // told once until a write works again
    QTimer retry_;
};

}  // namespace quorvane
