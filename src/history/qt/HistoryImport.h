#pragma once
#include <QString>

#include "history/qt/HistoryStore.h"

namespace quorvane {

struct ImportSummary {
    int Files = 0;       // log files read
    int Added = 0;       // hits new to the history
    int AlreadyThere = 0;
    int Unreadable = 0;  // lines that are not hit lines
    int Failed = 0;      // hits the history file refused
};

// Reads every run log file of the folder ("MM-dd-yyyy_h-mm-ss-AP.txt") into
// the history; a line already in the history is skipped. Other files are
// left alone.
ImportSummary ImportLogFolder(const QString& folder, HistoryStore& store);

// `quorvane --import-logs DIR`: imports into the history of the app folder
// (beside its log files) and prints what was done. The exit status: 0 when
// every line was read or skipped, 1 when the history could not be written.
int RunLogImport(const QString& appDirectory, const QString& logFolder);

}  // namespace quorvane
