// The recorder with no window: a hit costs the caller nothing, hits held
// back are written at exit, a file that cannot be written is told once and
// never ends the program, and no journal grows beside the history.
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

#include "HistoryQtSupport.h"
#include "SqliteValue.h"
#include "history/qt/HistoryRecorder.h"

namespace quorvane {
namespace {

using test::EndedHit;
using test::WaitUntil;

class HistoryRecorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::App();
        StartRecorder();
    }
    void StartRecorder() {
        recorder = std::make_unique<HistoryRecorder>([this] { return dir.path(); }, dir.path());
        QObject::connect(recorder.get(), &HistoryRecorder::Tell, [this](const QString& text) { told << text; });
        QObject::connect(recorder.get(), &HistoryRecorder::Note, [this](const QString& text) { notes << text; });
        QObject::connect(recorder.get(), &HistoryRecorder::HitStored, [this] { ++stored; });
        QSignalSpy opened(recorder.get(), &HistoryRecorder::Opened);
        recorder->StartRun(QDateTime::currentDateTime(), "12-04-2025", "3-50-00-PM");
        ASSERT_TRUE(opened.wait(5000));
    }
    QString Path() const { return dir.filePath("history.sqlite"); }
    qint64 Hits() { return test::SqliteCount(Path(), "SELECT count(*) FROM hits"); }
    void Add(const std::string& channel) { recorder->AddHit(EndedHit(channel), ""); }

    QTemporaryDir dir;
    std::unique_ptr<HistoryRecorder> recorder;
    QStringList told;
    QStringList notes;
    int stored = 0;
};

// Another program writing the file holds it for as long as it likes.
class FileHeld {
public:
    explicit FileHeld(const QString& path) {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "holder");
        db.setDatabaseName(path);
        db.open();
        QSqlQuery(db).exec("BEGIN EXCLUSIVE");
    }
    ~FileHeld() { Release(); }
    void Release() {
        if (!QSqlDatabase::contains("holder")) return;
        QSqlQuery(QSqlDatabase::database("holder")).exec("COMMIT");
        QSqlDatabase::database("holder").close();
        QSqlDatabase::removeDatabase("holder");
    }
};

TEST_F(HistoryRecorderTest, AHitCostsTheCallerNothingEvenWhileTheFileIsHeld) {
    FileHeld held(Path());
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 20; ++i) Add("Tac " + std::to_string(i));
    EXPECT_LT(timer.elapsed(), 50);  // writing one would wait a second for the file
    ASSERT_TRUE(WaitUntil([&] { return notes.contains("History not saved"); }));
    EXPECT_EQ(told.size(), 1);
    held.Release();
    Add("Tac 20");
    ASSERT_TRUE(WaitUntil([&] { return stored == 21; }));
    EXPECT_EQ(Hits(), 21);
}

TEST_F(HistoryRecorderTest, HitsHeldBackAreWrittenAtExit) {
    FileHeld held(Path());
    Add("Tac 1");
    Add("Tac 2");
    ASSERT_TRUE(WaitUntil([&] { return notes.contains("History not saved"); }));
    EXPECT_FALSE(recorder->Flush());  // the file is still held: both wait
    held.Release();
    recorder.reset();  // the window closes before the next try
    EXPECT_EQ(Hits(), 2);
}

TEST_F(HistoryRecorderTest, NoJournalGrowsBesideTheHistory) {
    for (int i = 0; i < 60; ++i) Add("Tac " + std::to_string(i));
    ASSERT_TRUE(WaitUntil([&] { return stored == 60; }, 20000));
    const QStringList beside = QDir(dir.path()).entryList({"history.sqlite-*"}, QDir::Files);
    qint64 size = 0;
    for (const QString& name : beside) size += QFileInfo(dir.filePath(name)).size();
    EXPECT_LT(size, 64 * 1024) << beside.join(' ').toStdString();
}

// chattr +i makes a file immutable: what a file system remounted read-only
// after errors does to every file. Needs root and chattr.
bool SetImmutable(const QStringList& paths, bool on) {
    QProcess chattr;
    chattr.start("chattr", QStringList{on ? "+i" : "-i"} + paths);
    return chattr.waitForFinished(5000) && chattr.exitCode() == 0;
}

TEST_F(HistoryRecorderTest, AnUnwritableHistoryIsToldOnceAndTheProgramGoesOn) {
    if (::geteuid() != 0 || QStandardPaths::findExecutable("chattr").isEmpty()) {
        GTEST_SKIP() << "needs root and chattr to make the history's files immutable";
    }
    Add("Tac 1");
    ASSERT_TRUE(WaitUntil([&] { return stored == 1; }));
    QStringList files;
    for (const QString& name : QDir(dir.path()).entryList({"history.sqlite*"}, QDir::Files)) files << dir.filePath(name);
    if (!SetImmutable(files, true)) GTEST_SKIP() << "this file system cannot make files immutable";
    struct Undo {
        QStringList files;
        ~Undo() { SetImmutable(files, false); }
    } undo{files};
    for (int i = 2; i <= 4; ++i) Add("Tac " + std::to_string(i));
    ASSERT_TRUE(WaitUntil([&] { return notes.contains("History not saved"); }));
    EXPECT_FALSE(recorder->Flush(3000));  // still held back, and still running
    EXPECT_EQ(told.size(), 1) << told.join('\n').toStdString();
    SetImmutable(files, false);
    Add("Tac 5");
    ASSERT_TRUE(WaitUntil([&] { return stored == 5; }, 10000));
    EXPECT_EQ(Hits(), 5);
}

}  // namespace
}  // namespace quorvane
