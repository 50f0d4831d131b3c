#pragma once
#include <QString>
#include <QStringList>

#include "history/qt/HistoryStore.h"

namespace quorvane {

struct ImportSummary {
    int Files = 0;       // log files read
    int Added = 0;       // hits new to the history
    int AlreadyThere = 0;
    int Unreadable = 0;  // lines that are not hit lines
    int Failed = 0;      // hits the history file refused
    QStringList Refused; // "name: why" of files named like logs that cannot be (02-31-2026_...)
};

// Reads every run log file of the folder ("MM-dd-yyyy_h-mm-ss-AP.txt") into
// the history; a line already in the history is skipped (a second import adds
// nothing). Other files are left alone. forServer: a server is set, so the
// hits wait for it, those kept here only before as well.
ImportSummary ImportLogFolder(const QString& folder, HistoryStore& store, bool forServer = false);

// `quorvane --import-logs DIR`: imports into the history of the app folder
// (beside its log files) and, when history_server.txt names a server, sends
// them on to it; prints what was done. The exit status: 0 when every line was
// read or skipped (and taken by the server, when one is set), 1 when the
// history could not be written or the server could not take the hits (they
// wait in the local history for the next run).
int RunLogImport(const QString& appDirectory, const QString& logFolder);

}  // namespace quorvane
