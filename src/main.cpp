#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "app/qt/AppFiles.h"
#include "app/qt/AppIcon.h"
#include "feed/qt/FeedStreamer.h"
#include "window/Form1.h"
#include "window/Headless.h"
#include "history/qt/HistoryImport.h"
#include "program/qt/MemoryCommandLine.h"
#include "program/qt/ProgramOptions.h"
#include "program/qt/QuietConsole.h"
#include "program/qt/QuitSignals.h"
#include "web/qt/RemoteServer.h"

using namespace quorvane;

namespace {

// Runs a mode without a window in the app folder; a folder that cannot be
// made is said on standard error and ends the program.
int WithoutWindow(int argc, char* argv[], const ProgramOptions& options, const std::function<int(const QString&)>& run) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("Quorvane");
    QString error;
    const QString appDirectory = ResolveAppDirectory(options.appDirectory, &error);
    if (appDirectory.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return kExitNoAppFolder;
    }
    return run(appDirectory);
}

// The whole program; everything it made is taken down when this returns.
int RunProgram(int argc, char* argv[]) {
    InstallQuietConsole();
    CommandLineOutcome command;
    {
        // The command line is read before any window system is touched, so
        // --help, --version and usage errors work with no display at all.
        QCoreApplication reader(argc, argv);
        command = ReadCommandLine(QCoreApplication::arguments());
    }
    if (!command.run) {
        std::fputs(command.output.toLocal8Bit().constData(), stdout);
        std::fputs(command.error.toLocal8Bit().constData(), stderr);
        return command.exitStatus;
    }

    const ProgramOptions& options = command.options;
    // Importing logs, programming the scanner and the station without a
    // screen open no window, so they need no display.
    if (!options.importLogs.isEmpty()) {
        return WithoutWindow(argc, argv, options, [&](const QString& folder) {
            return RunLogImport(folder, options.importLogs);
        });
    }
    if (!options.backup.isEmpty()) {
        return WithoutWindow(argc, argv, options, [&](const QString& folder) {
            return RunMemoryBackup(folder, options.backup);
        });
    }
    if (!options.restore.isEmpty()) {
        return WithoutWindow(argc, argv, options, [&](const QString& folder) {
            return RunMemoryRestore(folder, options.restore, options.yes, options.eraseFirst, options.into);
        });
    }
    if (options.headless) {
        return WithoutWindow(argc, argv, options, [&](const QString& folder) { return RunHeadless(folder, options); });
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("Quorvane");
    QGuiApplication::setDesktopFileName(QUORVANE_APP_ID);
    QApplication::setWindowIcon(AppIcon());
    // From here on, kill, Ctrl-C and logging out close the window the usual
    // way, so the window settings are saved; at any moment, a message box
    // (which runs an event loop of its own) included.
    QPointer<Form1> window;
#ifndef Q_OS_WIN
    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::Received, &app, [&window] {
        if (window) window->close();
        QCoreApplication::exit(0);  // every event loop running ends
    });
#endif

    QString error;
    const QString appDirectory = ResolveAppDirectory(options.appDirectory, &error);
    if (appDirectory.isEmpty()) {
        QMessageBox::critical(nullptr, "Quorvane", error + "\nStart Quorvane with --app-dir and a folder you can write to.");
        return 1;
    }
    Form1 form(appDirectory);
    window = &form;
    form.show();
    // The browser remote of this run, as --web or web_remote.txt asks; a
    // remote that cannot start is said on standard error and in its box.
    form.Remote().StartForRun(options.web);
    // The MQTT broker of this run, as --mqtt or mqtt.txt asks.
    form.StartMqtt(options.mqtt);
    form.Feed().StartForRun(options.feed);
    return app.exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    const int status = RunProgram(argc, argv);
    // Everything of the program's own is written and closed by now. What
    // is left are the sound libraries' global objects, whose teardown at
    // exit races with their own PulseAudio threads and can end a clean
    // shutdown in a crash (seen as "killed by SIGSEGV" after SIGTERM):
    // the program ends here without it.
    std::fflush(nullptr);
    std::_Exit(status);
}
