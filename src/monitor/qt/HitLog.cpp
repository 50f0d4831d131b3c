#include "monitor/qt/HitLog.h"

#include "app/qt/AppFiles.h"

namespace quorvane {
namespace {
constexpr int kRetryEveryMs = 5000;
}  // namespace

HitLog::HitLog(QString appDirectory, std::string launchDate, std::string launchTime, QObject* parent)
    : QObject(parent),
      appDirectory_(std::move(appDirectory)),
      launchDate_(std::move(launchDate)),
      launchTime_(std::move(launchTime)) {
    retry_.setInterval(kRetryEveryMs);
    connect(&retry_, &QTimer::timeout, this, &HitLog::WriteFile);
}

std::string HitLog::FolderBytes() const { return LogFolder(logDirectory_, FileSystemBytes(appDirectory_)); }

QString HitLog::FolderPath() const { return FileSystemText(FolderBytes()); }

QString HitLog::FilePathNow() const { return FileSystemText(LogFilePath(FolderBytes(), launchDate_, launchTime_)); }

void HitLog::SetWritesFile(bool on, bool writeNow) {
    writesFile_ = on;
    if (on && writeNow) {
        WriteFile();
    } else if (!on) {
        retry_.stop();
    }
}

void HitLog::Add(const std::string& line) {
    const LogRow& row = log_.Prepend(line);
    if (writesFile_) WriteFile();
    emit RowAdded(row);
}

void HitLog::Clear() {
    log_.Clear();
    if (writesFile_) WriteFile();
    emit Cleared();
}

void HitLog::WriteFile() {
    if (!writesFile_) return;
    const QString path = FilePathNow();
    QString error;
    bool diskFull = false;
    if (WriteFileAtomically(path, log_.FileContent(), &error, &diskFull)) {
        if (failing_) emit Note("Log saved again");
        failing_ = false;
        retry_.stop();
        return;
    }
    // The lines stay in memory; the file keeps what it had and is tried again.
    retry_.start();
    if (failing_) return;
    failing_ = true;
    emit Note(diskFull ? "Disk full - log not saved" : "Log not saved");
    emit Tell(QString("The log file %1 cannot be written (%2).\nHits are still shown on the Log tab and kept; "
                      "the file is written again as soon as it can be. %3")
                  .arg(path, error,
                       diskFull ? QString("Free some space on the disk, or choose another folder with \"Log Directory\".")
                                : QString("Choose another folder with \"Log Directory\".")));
}

}  // namespace quorvane
