#pragma once
#include <QString>
#include <QStringList>
#include <optional>

#include "app/ProgramName.h"
#include "web/WebRemoteSettings.h"

namespace quorvane {

// The program's exit statuses, as --help and the man page list them.
enum ExitStatus : int {
    kExitOk = 0,
    kExitNoAppFolder = 1,  // the app folder cannot be made
    kExitUsage = 2,        // an unknown option, a missing value, a stray argument
    kExitBadFile = 3,      // a memory file cannot be read, is not one to restore, or cannot be written
    kExitScanner = 4,      // no saved port, the port does not open, the line was lost, the scanner
                           // does not answer or refuses a command, its memory is full
    kExitDiffers = 5,      // a restore was written, but what was read back differs from the file
    kExitCancelled = 6,    // a quit signal, a "no" to the question, or no terminal to ask on and no --yes
};

// What the command line asks for. A new option is one field here and one
// entry in the option list of ProgramOptions.cpp.
struct ProgramOptions {
    QString appDirectory;  // --app-dir DIR; empty: the per-user data folder
    QString importLogs;    // --import-logs DIR: add old run logs to the history and exit
    std::optional<ListenAddress> web;  // --web [ADDR:]PORT: serve the browser remote for this run
    bool feed = false;                 // --feed: start the live feed for this run
    bool headless = false;             // --headless: a station with no window and no display
    bool mqtt = false;                 // --mqtt: publish to the broker of mqtt.txt for this run
    QString backup;        // --backup FILE: read the scanner's memory into FILE and exit
    QString restore;       // --restore FILE: write FILE into the scanner's memory and exit
    bool yes = false;      // --yes: restore without asking
    bool eraseFirst = false;  // --erase-first: CLR before the restore
    QString into;             // --into SYSTEM: where a restored channel CSV goes
};

// The outcome of reading the command line: either start the window with
// `options`, or print `output` (standard output) or `error` (standard error)
// and end with `exitStatus` (0 for --help and --version, 2 for a usage error).
struct CommandLineOutcome {
    bool run = false;
    ProgramOptions options;
    QString output;
    QString error;
    int exitStatus = 0;
};

// Reads the arguments (the program's own path first) without needing a
// window system, so --help works on a machine with no display.
CommandLineOutcome ReadCommandLine(const QStringList& arguments);

}  // namespace quorvane
