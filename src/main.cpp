#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>

#include "ui/AppFiles.h"
#include "ui/Form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quorvane");
    QApplication::setOrganizationName("Quorvane");

    QCommandLineParser parser;
    parser.setApplicationDescription("Remote control for the Uniden BC246T scanner.");
    parser.addHelpOption();
    const QCommandLineOption appDirOption("app-dir", "Folder for settings, hit_intel.txt, notes and logs.", "DIR");
    parser.addOption(appDirOption);
    parser.process(app);

    QString error;
    const QString appDirectory = quorvane::ResolveAppDirectory(parser.value(appDirOption), &error);
    if (appDirectory.isEmpty()) {
        QMessageBox::critical(nullptr, "BC246T Quorvane", error + "\nStart Quorvane with --app-dir and a folder you can write to.");
        return 1;
    }
    quorvane::Form1 window(appDirectory);
    window.show();
    return app.exec();
}
