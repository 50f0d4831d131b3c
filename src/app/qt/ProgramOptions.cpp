#include "app/qt/ProgramOptions.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>

namespace quorvane {
namespace {

constexpr int kUsageError = 2;

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
const QCommandLineOption kHeadless("headless",
                                   "Run without a window or a display: poll, log, record, keep the history and "
                                   "serve the browser remote until stopped by a signal.");

}  // namespace

CommandLineOutcome ReadCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Remote control for the Uniden BC246T scanner.");
    parser.addOptions({kHelp, kVersion, kAppDir, kImportLogs, kWeb, kHeadless});

    CommandLineOutcome outcome;
    const QString program = arguments.isEmpty() ? QString("quorvane") : QFileInfo(arguments.first()).fileName();
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        const QString reason = parser.errorText().isEmpty()
                                   ? QString("Unexpected argument '%1'.").arg(parser.positionalArguments().first())
                                   : parser.errorText();
        outcome.error = QString("%1: %2\nTry '%1 --help' for more information.\n").arg(program, reason);
        outcome.exitStatus = kUsageError;
        return outcome;
    }
    if (parser.isSet(kHelp)) {
        outcome.output = parser.helpText();
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
            outcome.exitStatus = kUsageError;
            return outcome;
        }
        outcome.options.web = web.listen;
    }
    outcome.run = true;
    outcome.options.appDirectory = parser.value(kAppDir);
    outcome.options.importLogs = parser.value(kImportLogs);
    outcome.options.headless = parser.isSet(kHeadless);
    return outcome;
}

}  // namespace quorvane
