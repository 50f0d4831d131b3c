#pragma once
#include <QString>
#include <QStringList>
#include <optional>

#include "web/WebRemoteSettings.h"

namespace quorvane {

// The program's name and version, as the window's footer and --version show it.
inline constexpr const char* kVersionText = "BC246T Quorvane - V1.0b";

// What the command line asks for. A new option is one field here and one
// entry in the option list of ProgramOptions.cpp.
struct ProgramOptions {
    QString appDirectory;  // --app-dir DIR; empty: the per-user data folder
    QString importLogs;    // --import-logs DIR: add old run logs to the history and exit
    std::optional<ListenAddress> web;  // --web [ADDR:]PORT: serve the browser remote for this run
    bool headless = false;             // --headless: a station with no window and no display
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
