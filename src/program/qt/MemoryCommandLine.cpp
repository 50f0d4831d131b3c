#include "program/qt/MemoryCommandLine.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QObject>
#include <QTimer>
#include <cstdio>
#include <iostream>
#include <string>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <QSocketNotifier>
#include <unistd.h>

#include "program/qt/QuitSignals.h"
#endif

#include "app/SettingsFiles.h"
#include "app/qt/AppFiles.h"
#include "program/qt/ProgramOptions.h"
#include "link/PortNaming.h"
#include "link/qt/LinkRunner.h"
#include "link/qt/ScannerLink.h"
#include "base/ScreenGlyphs.h"
#include "memory/ChannelCsv.h"
#include "memory/MemoryFile.h"
#include "memory/MemoryCapacity.h"
#include "memory/MemoryReader.h"
#include "memory/MemoryValidation.h"
#include "memory/PlanRunner.h"
#include "memory/WritePlan.h"
#include "memory/qt/MemoryRunner.h"

namespace quorvane {
namespace {

// A network port takes this long at most to connect.
constexpr int kConnectWaitMs = 10000;
// How long the last commands ("EPG") may take to leave before the program ends.
constexpr int kFlushAtExitMs = 500;
constexpr int kProgressEveryMs = 200;
const char* kBackupFolder = "memory-backups";

void Say(const QString& line) {
    std::fprintf(stdout, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
}

void Complain(const QString& line) {
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

bool IsTerminal(std::FILE* stream) {
#ifdef Q_OS_WIN
    return _isatty(_fileno(stream)) != 0;
#else
    return ::isatty(::fileno(stream)) != 0;
#endif
}

int FailureStatus(const MemoryStep& end) {
    return end.outcome == MemoryOutcome::Cancelled ? kExitCancelled : kExitScanner;
}

// The scanner's line for one command-line run: the port saved on the
// Settings tab, the memory runner on it, and the quit signals, which cancel
// whatever is under way.
class Session : public QObject {
public:
    explicit Session(QString appDirectory)
        : appDirectory_(std::move(appDirectory)), linkRunner_(link_, appDirectory_), runner_(link_) {
#ifndef Q_OS_WIN
        connect(&signals_, &QuitSignals::Received, this, [this] {
            quit_ = true;
            if (runner_.Running()) runner_.Cancel();
            else if (loop_) loop_->quit();
        });
#endif
    }

    ~Session() override {
        link_.Flush(kFlushAtExitMs);
        linkRunner_.Stop();
    }

    bool QuitRequested() const { return quit_; }

    // Open, or say on standard error why not and give the exit status.
    std::optional<int> OpenOrSayWhyNot() {
        QString why;
        if (Open(&why)) return std::nullopt;
        Complain(why);
        return quit_ ? kExitCancelled : kExitScanner;
    }

    // Opens the port saved in com_settings.txt; false (*why says why) when
    // none is saved or it does not open.
    bool Open(QString* why) {
        const QString settings = JoinPath(appDirectory_, kComSettingsFile);
        const std::optional<std::string> bytes = ReadFileBytes(settings);
        const ComSettings com = ReadComSettings(bytes.value_or(""));
        if (!bytes || com.portIndex < 0 || com.speedIndex < 0) {
            *why = QString("No scanner port is saved in %1: start Quorvane, choose the COM Port and the Port Speed "
                           "on the Settings tab and press Run once.")
                       .arg(settings);
            return false;
        }
        if (!linkRunner_.Run(com.portIndex + 1, kPortSpeeds[com.speedIndex])) {
            *why = linkRunner_.Failure();
            return false;
        }
        if (!link_.IsOpen()) {
            // A network connection is on its way.
            QEventLoop loop;
            connect(&link_, &ScannerLink::Opened, &loop, &QEventLoop::quit);
            connect(&linkRunner_, &LinkRunner::LineLost, &loop, &QEventLoop::quit);
            QTimer::singleShot(kConnectWaitMs, &loop, &QEventLoop::quit);
            Wait(loop);
        }
        if (link_.IsOpen()) return true;
        *why = quit_ ? QString("Cancelled.")
                     : QString("Port %1 (%2) %3")
                           .arg(com.portIndex + 1)
                           .arg(linkRunner_.PortDevice(com.portIndex + 1),
                                linkRunner_.Message().isEmpty() ? QString("did not connect") : linkRunner_.Message());
        return false;
    }

    // Runs engine to its end; `doing` names the run in the progress line
    // shown on a terminal.
    MemoryStep Run(MemoryEngine& engine, const char* doing) {
        if (quit_) return engine.Cancel();
        MemoryStep end;
        QEventLoop loop;
        connect(&runner_, &MemoryRunner::Ended, &loop, [&](const MemoryStep& step) {
            end = step;
            loop.quit();
        });
        QElapsedTimer shown;
        const bool showProgress = IsTerminal(stderr);
        if (showProgress) {
            connect(&runner_, &MemoryRunner::Progress, &loop, [&](const MemoryProgress& progress, double perSecond) {
                if (shown.isValid() && shown.elapsed() < kProgressEveryMs) return;
                shown.start();
                std::fprintf(stderr, "\r%s - %s\033[K", doing, ProgressText(progress, perSecond).c_str());
            });
        }
        const QString refused = runner_.Start(engine);
        if (!refused.isEmpty()) {
            end.outcome = MemoryOutcome::Failed;
            end.message = refused.toStdString();
            return end;
        }
        if (runner_.Running()) loop.exec();
        if (showProgress) std::fprintf(stderr, "\r\033[K");
        return end;
    }

    // Asks on the terminal; true for "y" or "yes".
    bool Confirm(const QString& question) {
        std::fprintf(stdout, "%s [y/N] ", question.toLocal8Bit().constData());
        std::fflush(stdout);
        std::string answer;
#ifdef Q_OS_WIN
        std::getline(std::cin, answer);
#else
        // Read on the event loop, so that Ctrl-C still ends the question.
        QEventLoop loop;
        QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
        connect(&input, &QSocketNotifier::activated, &loop, [&] {
            char c = 0;
            if (::read(STDIN_FILENO, &c, 1) != 1 || c == '\n') loop.quit();
            else answer += c;
        });
        Wait(loop);
#endif
        if (quit_) std::fprintf(stdout, "\n");
        const QString word = QString::fromLocal8Bit(answer.c_str()).trimmed().toLower();
        return !quit_ && (word == "y" || word == "yes");
    }

private:
    void Wait(QEventLoop& loop) {
        if (quit_) return;
        loop_ = &loop;
        loop.exec();
        loop_ = nullptr;
    }

    QString appDirectory_;
    ScannerLink link_;
    LinkRunner linkRunner_;
    MemoryRunner runner_;
#ifndef Q_OS_WIN
    QuitSignals signals_;
#endif
    QEventLoop* loop_ = nullptr;
    bool quit_ = false;
};

// A file of the scanner's memory in memory-backups/, named by the time.
// The memory's problems, the first one said with how many more; false when
// there are any.
bool ReportProblems(const ScannerMemory& memory, const std::string& fileName) {
    const std::vector<std::string> problems = ValidateMemory(memory, fileName);
    if (problems.empty()) return true;
    const std::size_t more = problems.size() - 1;
    Complain(Text(problems.front()) +
             (more ? QString(" (and %1 more problem%2)").arg(more).arg(more > 1 ? "s" : "") : QString()));
    return false;
}

QString BackupPath(const QString& appDirectory) {
    const QString folder = JoinPath(appDirectory, kBackupFolder);
    QDir().mkpath(folder);
    const QString stamp = QDateTime::currentDateTime().toString("yyyy-MM-dd_HH-mm-ss");
    QString path = JoinPath(folder, stamp + ".json");
    for (int more = 2; FileExists(path); ++more) path = JoinPath(folder, QString("%1-%2.json").arg(stamp).arg(more));
    return path;
}

}  // namespace

int RunMemoryBackup(const QString& appDirectory, const QString& file) {
    Session session(appDirectory);
    if (const std::optional<int> status = session.OpenOrSayWhyNot()) return *status;
    MemoryReader reader;
    const MemoryStep end = session.Run(reader, "Reading");
    if (end.outcome != MemoryOutcome::Finished) {
        Complain(Text(end.message) + " " + file + " was not written.");
        return FailureStatus(end);
    }
    QString error;
    if (!WriteFileAtomically(file, WriteMemoryJson(reader.Result()), &error)) {
        Complain(QString("%1 cannot be written (%2).").arg(file, error));
        return kExitBadFile;
    }
    Say(Text(end.message) + " Saved in " + file + ".");
    return kExitOk;
}

int RunMemoryRestore(const QString& appDirectory, const QString& file, bool yes, bool eraseFirst,
                     const QString& into) {
    // The file first: a file that cannot be restored changes nothing.
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly)) {
        Complain(QString("%1: cannot be read (%2).").arg(file, input.errorString()));
        return kExitBadFile;
    }
    const QByteArray bytes = input.readAll();
    const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const std::string fileName = file.toStdString();
    // A channel table can only be read into the scanner's memory as it is.
    const bool channels = file.endsWith(".csv", Qt::CaseInsensitive);
    if (channels && eraseFirst) {
        Complain(file + ": a channel table goes into the scanner's memory as it is; --erase-first would erase the rest.");
        return kExitBadFile;
    }
    std::string problem;
    std::optional<ScannerMemory> memory;
    if (!channels) {
        memory = ReadMemoryJson(text, fileName, &problem);
        if (!memory) {
            Complain(Text(problem));
            return kExitBadFile;
        }
        if (!ReportProblems(*memory, fileName)) return kExitBadFile;
    }
    if (!yes && !IsTerminal(stdin)) {
        Complain(file + " was not restored: there is no terminal to ask on; add --yes to restore without asking.");
        return kExitCancelled;
    }

    Session session(appDirectory);
    if (const std::optional<int> status = session.OpenOrSayWhyNot()) return *status;
    // The scanner's memory as it is now, kept before anything changes.
    MemoryReader reader;
    MemoryStep end = session.Run(reader, "Saving the scanner's memory");
    if (end.outcome != MemoryOutcome::Finished) {
        Complain(Text(end.message) + " Nothing was changed.");
        return FailureStatus(end);
    }
    if (reader.Result().model != kScannerModel) {
        Complain(QString("The scanner says it is a \"%1\", not a %2. Nothing was changed.")
                     .arg(Text(reader.Result().model), kScannerModel));
        return kExitScanner;
    }
    if (channels) {
        const std::optional<GroupAt> target = ConventionalGroup(reader.Result(), into.toStdString(), &problem);
        std::optional<ChannelImport> imported;
        if (target) imported = ReadChannelsCsv(reader.Result(), text, fileName, target, &problem);
        if (!imported) {
            Complain(Text(problem) + " Nothing was changed.");
            return kExitBadFile;
        }
        Say(QString("%1: %2 channels into %3 groups of \"%4\".")
                .arg(file)
                .arg(imported->channels)
                .arg(imported->groups)
                .arg(Text(ScreenTextUtf8(reader.Result().systems[target->system].fields[system_field::Name]))));
        memory = std::move(imported->memory);
        if (!ReportProblems(*memory, fileName)) return kExitBadFile;
    }
    if (const std::optional<std::string> tooBig =
            CapacityProblem(reader.Result(), reader.MemoryUsedPercent(), *memory, eraseFirst)) {
        Complain(file + ": " + Text(*tooBig));
        return kExitScanner;
    }
    const QString backup = BackupPath(appDirectory);
    QString error;
    if (!WriteFileAtomically(backup, WriteMemoryJson(reader.Result()), &error)) {
        Complain(QString("The scanner's memory cannot be saved in %1 (%2). Nothing was changed.").arg(backup, error));
        return kExitBadFile;
    }
    Say("Saved the scanner's memory in " + backup + ".");
    if (!yes) {
        const QString question = QString(eraseFirst ? "Erase the scanner's whole memory and every setting, then "
                                                      "write %1 (%2 systems, %3 records)?"
                                                    : "Make the scanner's memory that of %1 (%2 systems, %3 records)?")
                                     .arg(file)
                                     .arg(memory->systems.size())
                                     .arg(RecordCount(*memory));
        if (!session.Confirm(question)) {
            Complain("Nothing was changed.");
            return kExitCancelled;
        }
    }

    // By default only what differs changes; erasing first (CLR) resets every
    // setting too, and the file's settings are then written back after it.
    PlanRunner restore(eraseFirst ? PlanRestore(*memory) : PlanWrite(reader.Result(), *memory));
    end = session.Run(restore, "Restoring");
    if (end.outcome == MemoryOutcome::Finished) {
        Say(file + ": " + Text(end.message));
        return kExitOk;
    }
    if (restore.Difference()) {
        Complain(file + ": " + Text(end.message));
        return kExitDiffers;
    }
    Complain(Text(end.message) + " The memory before the restore is in " + backup + ".");
    return FailureStatus(end);
}

}  // namespace quorvane
