// The run's log file when the disk refuses a write: the good file stays,
// the user is told once, and the lines are written as soon as it works.
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>

#include "monitor/qt/HitLog.h"
#include "QtTestApp.h"

namespace quorvane {
namespace {

// While alive, no file may grow beyond `bytes` (the process's file size
// limit), as on a disk that is full.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

std::string Read(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll().toStdString();
}

TEST(HitLog, AWriteTheDiskRefusesNeverReplacesTheGoodFileAndIsDoneOnceItWorks) {
    test::QtApp();
    QTemporaryDir folder;
    HitLog log(folder.path(), "12-06-2026", "4-35-03-AM");
    QSignalSpy told(&log, &HitLog::Tell);
    QSignalSpy noted(&log, &HitLog::Note);
    log.SetWritesFile(true);
    const std::string line(100, 'a');
    log.Add(line + "\r\n");
    const std::string good = Read(log.FilePathNow());
    ASSERT_EQ(good, line + "\r\n\r\n");
    {
        const FileSizeLimit full(150);
        log.Add(line + "\r\n");
        log.Add(line + "\r\n");
        EXPECT_EQ(Read(log.FilePathNow()), good);
        EXPECT_EQ(told.count(), 1);
        EXPECT_EQ(noted.count(), 1);
        EXPECT_EQ(log.Text().Text(), line + "\r\n" + line + "\r\n" + line + "\r\n");
    }
    log.Add(line + "\r\n");
    EXPECT_EQ(Read(log.FilePathNow()), log.Text().FileContent());
    EXPECT_EQ(told.count(), 1);
}

}  // namespace
}  // namespace quorvane
