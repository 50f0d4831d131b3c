#include "history/qt/HistoryImport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <cstdio>

#include "app/SettingsFiles.h"
#include "history/LogImport.h"
#include "monitor/LogText.h"
#include "app/qt/AppFiles.h"

namespace quorvane {
namespace {

Instant InstantOf(const LocalTime& time) {
    const QDateTime local(QDate(time.Year, time.Month, time.Day), QTime(0, 0).addSecs(time.SecondsOfDay));
    return Instant{local.toMSecsSinceEpoch(), local.offsetFromUtc()};
}

}  // namespace

ImportSummary ImportLogFolder(const QString& folder, HistoryStore& store) {
    ImportSummary summary;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({"*.txt"}, QDir::Files, QDir::Name)) {
        const std::optional<LogFileStamp> stamp = ParseLogFileName(QFile::encodeName(name).toStdString());
        if (!stamp) continue;
        const std::optional<std::string> bytes = ReadFileBytes(dir.filePath(name));
        if (!bytes) continue;
        ++summary.Files;
        const LogFileHits file = ParseLogFile(*bytes, *stamp);
        summary.Unreadable += static_cast<int>(file.Unreadable);
        const HistoryRun run{InstantOf(stamp->Launch), stamp->LaunchDate, stamp->LaunchTime};
        for (const LoggedHit& logged : file.Hits) {
            const HistoryHit hit =
                AsStoredText(HistoryHit{logged.Names, InstantOf(logged.Start), InstantOf(logged.End), {}, logged.LineKey});
            switch (store.Add(run, hit)) {
            case HistoryStore::Added::Yes: ++summary.Added; break;
            case HistoryStore::Added::AlreadyThere: ++summary.AlreadyThere; break;
            case HistoryStore::Added::Failed: ++summary.Failed; break;
            }
        }
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
    const QString folder = LogFolderPath(pgm.logDirectory, appDirectory);
    HistoryStore store;
    const bool opened = store.Open(QDir(folder).filePath(kHistoryFileName));
    if (const QString report = store.TakeReport(); !report.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(report));
    if (!opened) return 1;
    const ImportSummary summary = ImportLogFolder(logFolder, store);
    std::printf("Added %d hits to %s (%d already there, %d lines not understood) from %d log files.\n",
                summary.Added, qPrintable(store.Path()), summary.AlreadyThere, summary.Unreadable, summary.Files);
    if (summary.Failed > 0) {
        std::fprintf(stderr, "%d hits could not be added: %s\n", summary.Failed, qPrintable(store.TakeReport()));
        return 1;
    }
    return 0;
}

}  // namespace quorvane
