#include "program/qt/ProgramOptions.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>

namespace quorvane {
namespace {

const QCommandLineOption kHelp({"h", "help"}, "Show this help and exit.");
const QCommandLineOption kVersion({"v", "version"}, "Show the program's version and exit.");
const QCommandLineOption kAppDir("app-dir",
                                 "Keep settings, hit_intel.txt, notes and logs in DIR instead of the per-user "
                                 "data folder (created when missing).",
                                 "DIR");
const QCommandLineOption kImportLogs("import-logs",
                                     "Add the hits of the run log files in DIR to the history, print how many "
                                     "were added, and exit (no window is opened).",
                                     "DIR");
const QCommandLineOption kWeb("web",
                              "Serve the browser remote for this run on ADDR (default 127.0.0.1; 0.0.0.0 for every "
                              "network) and PORT, and print its link.",
                              "[ADDR:]PORT");
const QCommandLineOption kFeed("feed",
                               "Start the live feed of feed.txt for this run (an Icecast server; see the Feed box "
                               "on the Settings tab).");
const QCommandLineOption kMqtt("mqtt",
                               "Publish the scanner's state, hits and alerts to the MQTT broker named in mqtt.txt "
                               "for this run (start=1 there publishes on every run).");
const QCommandLineOption kHeadless("headless",
                                   "Run without a window or a display: poll, log, record, keep the history and "
                                   "serve the browser remote, the live feed and the call uploads until stopped by "
                                   "a signal.");
const QCommandLineOption kBackup("backup",
                                 "Read the scanner's whole memory (port and speed as saved on the Settings tab) "
                                 "into the memory file FILE and exit (no window is opened).",
                                 "FILE");
const QCommandLineOption kRestore("restore",
                                  "Check the memory file FILE, save the scanner's memory in memory-backups/ in the "
                                  "app folder, ask, then change what differs from FILE (systems it lacks are "
                                  "deleted, records edited in place, new ones appended, settings set), read it "
                                  "back, compare and exit (no window is opened).",
                                  "FILE");
const QCommandLineOption kYes("yes", "With --restore: do not ask before writing.");
const QCommandLineOption kEraseFirst("erase-first",
                                     "With --restore: clear the scanner's whole memory first (CLR, which also "
                                     "resets every setting but the baud rate), then write FILE and its settings.");

const QCommandLineOption kInto("into",
                               "With --restore of a channel CSV (a radio-listener database's frequency table): "
                               "the conventional system its channels go into (default: the scanner's first).",
                               "SYSTEM");

const char* kExitStatusText =
    "\nExit status:\n"
    "  0  done\n"
    "  1  the app folder cannot be made; --headless: no port saved, or the browser\n"
    "     remote or the MQTT broker asked for cannot start\n"
    "  2  a usage error\n"
    "  3  a memory file cannot be read, is not one to restore, or cannot be written\n"
    "  4  no port saved, the port does not open, the line was lost, or the scanner\n"
    "     does not answer, refuses a command or has no room left\n"
    "  5  a restore was written, but the memory read back differs from the file\n"
    "  6  cancelled: a quit signal, a \"no\" to the question, or no terminal to ask\n"
    "     on and no --yes\n";

// Why the options given cannot go together; empty when they can.
QString Conflict(const QCommandLineParser& parser) {
    const int modes =
        parser.isSet(kImportLogs) + parser.isSet(kBackup) + parser.isSet(kRestore) + parser.isSet(kHeadless);
    if (modes > 1) return "Choose one of --import-logs, --backup, --restore and --headless.";
    if (parser.isSet(kYes) && !parser.isSet(kRestore)) return "--yes goes with --restore.";
    if (parser.isSet(kEraseFirst) && !parser.isSet(kRestore)) return "--erase-first goes with --restore.";
    if (parser.isSet(kInto) && !parser.isSet(kRestore)) return "--into goes with --restore.";
    return {};
}

}  // namespace

CommandLineOutcome ReadCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Remote control for the Uniden BC246T scanner.");
    parser.addOptions(
        {kHelp, kVersion, kAppDir, kImportLogs, kWeb, kFeed, kHeadless, kMqtt, kBackup, kRestore, kYes, kEraseFirst, kInto});

    CommandLineOutcome outcome;
    const QString program = arguments.isEmpty() ? QString("quorvane") : QFileInfo(arguments.first()).fileName();
    const bool parsed = parser.parse(arguments);
    if (!parsed || !parser.positionalArguments().isEmpty() || !Conflict(parser).isEmpty()) {
        const QString reason = !parsed ? parser.errorText()
                               : !parser.positionalArguments().isEmpty()
                                   ? QString("Unexpected argument '%1'.").arg(parser.positionalArguments().first())
                                   : Conflict(parser);
        outcome.error = QString("%1: %2\nTry '%1 --help' for more information.\n").arg(program, reason);
        outcome.exitStatus = kExitUsage;
        return outcome;
    }
    if (parser.isSet(kHelp)) {
        outcome.output = parser.helpText() + kExitStatusText;
        return outcome;
    }
    if (parser.isSet(kVersion)) {
        outcome.output = QString(kVersionText) + "\n";
        return outcome;
    }
    if (parser.isSet(kWeb)) {
        const ListenArgument web = ParseListenArgument(parser.value(kWeb).toStdString());
        if (!web.listen) {
            outcome.error = QString("%1: --web %2: %3\nTry '%1 --help' for more information.\n")
                                .arg(program, parser.value(kWeb), QString::fromStdString(web.error));
            outcome.exitStatus = kExitUsage;
            return outcome;
        }
        outcome.options.web = web.listen;
    }
    outcome.run = true;
    outcome.options.appDirectory = parser.value(kAppDir);
    outcome.options.importLogs = parser.value(kImportLogs);
    outcome.options.headless = parser.isSet(kHeadless);
    outcome.options.mqtt = parser.isSet(kMqtt);
    outcome.options.feed = parser.isSet(kFeed);
    outcome.options.backup = parser.value(kBackup);
    outcome.options.restore = parser.value(kRestore);
    outcome.options.yes = parser.isSet(kYes);
    outcome.options.eraseFirst = parser.isSet(kEraseFirst);
    outcome.options.into = parser.value(kInto);
    return outcome;
}

}  // namespace quorvane
