#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <cstdio>
#include <cstring>
#include <memory>

#include "ui/AppFiles.h"
#include "ui/Form1.h"
#include "ui/HistoryImport.h"

int main(int argc, char* argv[]) {
    // Importing logs opens no window, so it needs no display.
    bool importOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--import-logs", 13) == 0) importOnly = true;
    }
    const std::unique_ptr<QCoreApplication> app =
        importOnly ? std::make_unique<QCoreApplication>(argc, argv) : std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName("Quorvane");
    QCoreApplication::setOrganizationName("Quorvane");

    QCommandLineParser parser;
    parser.setApplicationDescription("Remote control for the Uniden BC246T scanner.");
    parser.addHelpOption();
    const QCommandLineOption appDirOption("app-dir", "Folder for settings, hit_intel.txt, notes and logs.", "DIR");
    parser.addOption(appDirOption);
    const QCommandLineOption importOption("import-logs", "Add the hits of the run log files in DIR to the history, "
                                          "print how many were added, and exit.", "DIR");
    parser.addOption(importOption);
    parser.process(*app);

    QString error;
    const QString appDirectory = quorvane::ResolveAppDirectory(parser.value(appDirOption), &error);
    if (importOnly) {
        if (appDirectory.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        return quorvane::RunLogImport(appDirectory, parser.value(importOption));
    }
    if (appDirectory.isEmpty()) {
        QMessageBox::critical(nullptr, "BC246T Quorvane", error + "\nStart Quorvane with --app-dir and a folder you can write to.");
        return 1;
    }
    quorvane::Form1 window(appDirectory);
    window.show();
    return app->exec();
}
