#pragma once
#include <QString>

namespace quorvane {

// Programming the scanner from the command line, with no window: the port
// and speed saved in com_settings.txt of the app folder, messages one line
// each (results on standard output, problems on standard error), and the
// exit statuses of ExitStatus (ProgramOptions.h). SIGINT and SIGTERM cancel
// a run; "EPG" is always the last command the scanner gets, and when the
// line was lost before it could go, the next start sends it (LinkRunner).

// --backup FILE: "PRG", everything read, "EPG", FILE written whole.
int RunMemoryBackup(const QString& appDirectory, const QString& file);

// --restore FILE [--yes] [--erase-first]: FILE is checked first (a problem:
// one line, and nothing that changes the scanner is sent); then the scanner's
// memory is saved in memory-backups/ of the app folder, the user is asked on
// the terminal (unless yes; with no terminal and no yes the restore is
// refused), and the changes from what was read to FILE (PlanWrite; with
// eraseFirst "CLR" and every record, PlanRestore), the settings that differ,
// the read-back and its comparison follow.
// A FILE ending in ".csv" is a channel table (the program's own or a
// radio-listener database's): the scanner's memory is read first and the
// channels go into the conventional system named into (the first one when
// empty); the rest of the memory stays as it is.
int RunMemoryRestore(const QString& appDirectory, const QString& file, bool yes, bool eraseFirst = false,
                     const QString& into = {});

}  // namespace quorvane
