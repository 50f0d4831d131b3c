#include "history/qt/HistoryImport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <cstdio>

#include "app/SettingsFiles.h"
#include "app/qt/AppFiles.h"
#include "history/LogImport.h"
#include "monitor/LogText.h"
#include "history/qt/HistorySender.h"
#include "history/qt/HistoryServerFile.h"

namespace quorvane {
namespace {

// The moment of a wall-clock time. When the clock went back before it, a
// time of the repeated hour is its second passing: the later of the two.
Instant InstantOf(const LocalTime& time, bool afterClockBack) {
    const QDateTime local(QDate(time.Year, time.Month, time.Day), QTime(0, 0).addSecs(time.SecondsOfDay));
    const qint64 ms = local.toMSecsSinceEpoch();
    if (afterClockBack) {
        const int before = local.offsetFromUtc();
        const int after = QDateTime::fromMSecsSinceEpoch(ms + kClockChangeSeconds * 1000LL).offsetFromUtc();
        const QDateTime again = QDateTime::fromMSecsSinceEpoch(ms + (before - after) * 1000LL);
        if (before > after && again.date() == local.date() && again.time() == local.time()) {
            return Instant{again.toMSecsSinceEpoch(), again.offsetFromUtc()};
        }
    }
    return Instant{ms, local.offsetFromUtc()};
}

}  // namespace

ImportSummary ImportLogFolder(const QString& folder, HistoryStore& store, bool forServer) {
    ImportSummary summary;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({"*.txt"}, QDir::Files, QDir::Name)) {
        std::string problem;
        const std::optional<LogFileStamp> stamp = ParseLogFileName(QFile::encodeName(name).toStdString(), &problem);
        if (!problem.empty()) summary.Refused << name + ": " + QString::fromStdString(problem);
        if (!stamp) continue;
        const std::optional<std::string> bytes = ReadFileBytes(dir.filePath(name));
        if (!bytes) continue;
        ++summary.Files;
        const LogFileHits file = ParseLogFile(*bytes, *stamp);
        summary.Unreadable += static_cast<int>(file.Unreadable);
        const HistoryRun run{InstantOf(stamp->Launch, false), stamp->LaunchDate, stamp->LaunchTime};
        // A file's hits are written at once.
        const bool batch = store.BeginBatch();
        ImportSummary inFile;
        for (const LoggedHit& logged : file.Hits) {
            HistoryHit hit;
            hit.Names = logged.Names;
            hit.Start = InstantOf(logged.Start, logged.StartAfterClockBack);
            hit.End = InstantOf(logged.End, logged.EndAfterClockBack);
            hit.LineKey = logged.LineKey;
            hit.Occurrence = logged.Occurrence;
            switch (store.Add(run, AsStoredText(hit), forServer)) {
            case HistoryStore::Added::Yes: ++inFile.Added; break;
            case HistoryStore::Added::AlreadyThere: ++inFile.AlreadyThere; break;
            case HistoryStore::Added::Failed: ++inFile.Failed; break;
            }
        }
        if (batch && !store.CommitBatch()) {
            inFile.Failed += inFile.Added;
            inFile.Added = 0;
        }
        summary.Added += inFile.Added;
        summary.AlreadyThere += inFile.AlreadyThere;
        summary.Failed += inFile.Failed;
    }
    return summary;
}

int RunLogImport(const QString& appDirectory, const QString& logFolder) {
    if (!QDir(logFolder).exists()) {
        std::fprintf(stderr, "No folder %s to import log files from.\n", qPrintable(logFolder));
        return 1;
    }
    // The history lies beside the log files, in the folder the window uses.
    PgmSettings pgm;
    if (const auto bytes = ReadFileBytes(JoinPath(appDirectory, kPgmSettingsFile))) pgm = ReadPgmSettings(*bytes);
    const QString folder = FileSystemText(LogFolder(pgm.logDirectory, FileSystemBytes(appDirectory)));
    QString serverProblem;
    const std::optional<HistoryServerSettings> server = LoadHistoryServer(appDirectory, &serverProblem);
    if (!serverProblem.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(serverProblem));
    HistoryStore store;
    const bool opened = store.Open(QDir(folder).filePath(kHistoryFileName));
    if (const QString report = store.TakeReport(); !report.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(report));
    if (!opened) return 1;
    const ImportSummary summary = ImportLogFolder(logFolder, store, server.has_value());
    for (const QString& refused : summary.Refused) std::fprintf(stderr, "Skipped %s.\n", qPrintable(refused));
    std::printf("Added %d hits to %s (%d already there, %d lines not understood) from %d log files.\n",
                summary.Added, qPrintable(store.Path()), summary.AlreadyThere, summary.Unreadable, summary.Files);
    if (summary.Failed > 0) {
        std::fprintf(stderr, "%d hits could not be added: %s\n", summary.Failed, qPrintable(store.TakeReport()));
        return 1;
    }
    if (!server) return 0;
    HistorySender sender(*server);
    bool reached = false;
    const qint64 sent = sender.SendAll(store.Path(), &reached);
    std::printf("Sent %lld hits to the history server %s as station %s.\n", static_cast<long long>(sent),
                qPrintable(sender.ServerName()), server->Station.c_str());
    if (!reached) {
        std::fprintf(stderr, "The history server %s cannot take hits now (%s); those not sent wait in the local history "
                             "and go when Quorvane next runs with the server.\n",
                     qPrintable(sender.ServerName()), qPrintable(sender.LastDetail()));
        return 1;
    }
    return 0;
}

}  // namespace quorvane
