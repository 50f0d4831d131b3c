// The real program from outside: its command line works with no display, and
// a quit signal shuts it down as closing the window does.
#include <QFileInfo>
#include <regex>

#include "E2eSupport.h"
#include "link/PortHolder.h"

using namespace quorvane::e2e;

TEST(ProgramEndToEnd, TheCommandLineAnswersWithoutADisplay) {
    App();
    struct Case {
        QStringList arguments;
        int status;
        const char* output;  // a pattern for standard output
        const char* error;   // and for standard error
    };
    const Case cases[] = {
        {{"--help"}, 0, R"(Usage: .*quorvane \[options\][\s\S]*--version[\s\S]*--app-dir <DIR>)", "^$"},
        {{"--version"}, 0, "^BC246T Quorvane - V1\\.0b\n$", "^$"},
        {{"--bogus"}, 2, "^$", R"(Unknown option 'bogus'[\s\S]*--help)"},
        {{"--app-dir"}, 2, "^$", "Missing value after '--app-dir'"},
        {{"stray"}, 2, "^$", "Unexpected argument 'stray'"},
        {{"--help"}, 0, R"(--backup <FILE>[\s\S]*--restore <FILE>[\s\S]*Exit status:[\s\S]*  6  cancelled)", "^$"},
        {{"--backup", "a.json", "--restore", "b.json"}, 2, "^$", "Choose one of --import-logs, --backup, --restore and --headless"},
        {{"--yes"}, 2, "^$", "--yes goes with --restore"},
        {{"--into", "County"}, 2, "^$", "--into goes with --restore"},
    };
    // Any attempt to reach a window system here would fail and end the program.
    const QProcessEnvironment env = ProgramEnvironment("xcb");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        QProcess program;
        StartQuorvane(program, c.arguments, env);
        ASSERT_TRUE(program.waitForFinished(10000));
        const std::string out = program.readAllStandardOutput().toStdString();
        const std::string err = program.readAllStandardError().toStdString();
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), c.status) << err;
        EXPECT_TRUE(std::regex_search(out, std::regex(c.output))) << out;
        EXPECT_TRUE(std::regex_search(err, std::regex(c.error))) << err;
    }
}

TEST(ProgramEndToEnd, AQuitSignalSavesTheWindowSettingsAsClosingDoes) {
    App();
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        AppFolder folder;
        // The program creates its app folder after it has started catching the signals.
        const QString appDir = folder.Path() + "/app";
        QProcess program;
        StartQuorvane(program, {"--app-dir", appDir});
        ASSERT_TRUE(program.waitForStarted(5000));
        ASSERT_TRUE(WaitUntil([&] { return QFileInfo(appDir).isDir(); }, 10000));
        ::kill(static_cast<pid_t>(program.processId()), signal);
        ASSERT_TRUE(program.waitForFinished(10000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        // A first run ends on the settings tab, and says so in the saved settings.
        QFile saved(appDir + "/pgm_settings.txt");
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_TRUE(saved.readAll().startsWith("3\r\n"));
    }
    // Also while a message box waits for the user: an app folder that is a
    // file stops the start with one.
    AppFolder folder;
    folder.Write("app", "not a folder");
    QProcess program;
    StartQuorvane(program, {"--app-dir", folder.Path() + "/app"});
    ASSERT_TRUE(program.waitForStarted(5000));
    WaitUntil([] { return false; }, 1000);  // the box is up
    ASSERT_EQ(program.state(), QProcess::Running);
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(5000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 1);
}

TEST(ProgramEndToEnd, ABackupWhileAnotherQuorvaneHasThePortSaysSoAndWhatToDo) {
    App();
    AppFolder folder;
    auto radio = StartRadio(folder);
    folder.SaveComSettings();
    QProcess station;
    StartQuorvane(station, {"--headless", "--app-dir", folder.Path()});
    ASSERT_TRUE(station.waitForStarted(5000));
    ASSERT_TRUE(WaitUntil([&] {
        const auto holder = quorvane::FindPortHolder(radio->SlavePath());
        return holder && holder->Program == "quorvane";
    }, 10000));
    QProcess backup;
    StartQuorvane(backup, {"--app-dir", folder.Path(), "--backup", folder.Path() + "/memory.json"},
                  ProgramEnvironment("xcb"));
    ASSERT_TRUE(backup.waitForFinished(20000));
    const std::string err = backup.readAllStandardError().toStdString();
    EXPECT_NE(backup.exitCode(), 0);
    EXPECT_NE(err.find("busy: Quorvane itself has it (process " + std::to_string(station.processId()) +
                       "). Press Stop on that window's Settings tab, or close it, then try again"),
              std::string::npos)
        << err;
    EXPECT_FALSE(folder.Exists("memory.json"));
    station.terminate();
    EXPECT_TRUE(station.waitForFinished(10000));
}
