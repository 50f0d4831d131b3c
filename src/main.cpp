#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <cstdio>

#include "app/qt/AppFiles.h"
#include "app/qt/AppIcon.h"
#include "window/Form1.h"
#include "window/Headless.h"
#include "history/qt/HistoryImport.h"
#include "memory/qt/MemoryCommandLine.h"
#include "app/qt/ProgramOptions.h"
#include "app/qt/QuietConsole.h"
#include "app/qt/QuitSignals.h"
#include "web/qt/RemoteServer.h"

using namespace quorvane;

int main(int argc, char* argv[]) {
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

    if (!command.options.importLogs.isEmpty()) {
        // Importing logs opens no window, so it needs no display.
        QCoreApplication importer(argc, argv);
        QCoreApplication::setApplicationName("Quorvane");
        QString error;
        const QString appDirectory = ResolveAppDirectory(command.options.appDirectory, &error);
        if (appDirectory.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        return RunLogImport(appDirectory, command.options.importLogs);
    }

    if (!command.options.backup.isEmpty() || !command.options.restore.isEmpty()) {
        // Programming the scanner from the command line opens no window either.
        QCoreApplication programmer(argc, argv);
        QCoreApplication::setApplicationName("Quorvane");
        QString error;
        const QString appDirectory = ResolveAppDirectory(command.options.appDirectory, &error);
        if (appDirectory.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return kExitNoAppFolder;
        }
        if (!command.options.backup.isEmpty()) return RunMemoryBackup(appDirectory, command.options.backup);
        return RunMemoryRestore(appDirectory, command.options.restore, command.options.yes);
    }

    if (command.options.headless) {
        // A station without a screen: no window system is touched.
        QCoreApplication station(argc, argv);
        QCoreApplication::setApplicationName("Quorvane");
        QString error;
        const QString appDirectory = ResolveAppDirectory(command.options.appDirectory, &error);
        if (appDirectory.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        return RunHeadless(appDirectory, command.options.web);
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
    const QString appDirectory = ResolveAppDirectory(command.options.appDirectory, &error);
    if (appDirectory.isEmpty()) {
        QMessageBox::critical(nullptr, "Quorvane", error + "\nStart Quorvane with --app-dir and a folder you can write to.");
        return 1;
    }
    Form1 form(appDirectory);
    window = &form;
    form.show();
    // The browser remote of this run, as --web or web_remote.txt asks; a
    // remote that cannot start is said on standard error and in its box.
    form.Remote().StartForRun(command.options.web);
    return app.exec();
}
