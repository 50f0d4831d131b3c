// Programming the simulated scanner: quorvane --backup and --restore as a
// user runs them, and the Memory tab of the real window.
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTreeWidget>
#include <csignal>
#include <gtest/gtest.h>

#include "DemoScenario.h"
#include "E2eSupport.h"
#include "link/Fields.h"

using namespace quorvane;
using namespace quorvane::e2e;

namespace {

struct Outcome {
    int status = -1;
    std::string out, err;
};

// The demo radio behind com1 of a fresh app folder, logging every command.
struct Programmed {
    AppFolder folder;
    std::unique_ptr<Simulator> radio;

    explicit Programmed(int clearMs = 200) {
        App();
        Connect(clearMs);
        folder.SaveComSettings();
    }
    void Connect(int clearMs = 200) {
        SimulatorOptions options;
        options.log_path = folder.FilePath("wire.log");
        options.clear_ms = clearMs;
        radio = StartRadio(folder, DemoScenarioText(), options);
    }
    QStringList Arguments(QStringList more) const { return QStringList{"--app-dir", folder.Path()} + more; }
    QString Path(const std::string& name) const { return QString::fromStdString(folder.FilePath(name)); }

    static Outcome Finish(QProcess& program) {
        EXPECT_TRUE(program.waitForFinished(20000));
        return {program.exitCode(), program.readAllStandardOutput().toStdString(),
                program.readAllStandardError().toStdString()};
    }
    Outcome Quorvane(QStringList arguments) const {
        QProcess program;
        program.start(QUORVANE_EXE, Arguments(arguments));
        return Finish(program);
    }
    // The commands from the last PRG on.
    std::vector<std::string> LastRun() const {
        const auto all = radio->ReceivedCommands();
        const auto prg = std::find(all.rbegin(), all.rend(), "PRG");
        return std::vector<std::string>(prg == all.rend() ? all.begin() : prg.base() - 1, all.end());
    }
    // Whether the last run ends with "EPG", once the radio has had time to read it.
    bool EndsWithEpg() const {
        return WaitUntil([this] {
            const auto run = LastRun();
            return !run.empty() && run.back() == "EPG";
        }, 3000);
    }
};

bool Changes(const std::string& command) {
    for (const char* word : {"CLR", "CSY", "AGC", "AGT", "ACC", "ACT", "DSY", "DGR", "DCH"})
        if (command.rfind(word, 0) == 0) return true;
    if (command.rfind("QGL,", 0) == 0 && command.back() == ',') return false;  // QGL's read form
    // A set form carries settings after the index.
    return std::count(command.begin(), command.end(), ',') > 1;
}

TEST(MemoryEndToEnd, BackupThenRestoreGivesTheSameMemoryAndAnEditedFileChangesExactlyThat) {
    Programmed scanner;
    const Outcome backup = scanner.Quorvane({"--backup", scanner.Path("demo.json")});
    ASSERT_EQ(backup.status, 0) << backup.err;
    EXPECT_EQ(backup.out, "Read 2 systems, 3 groups and sites, 8 channels, talkgroups and trunk frequencies, and "
                          "the scanner's settings. Saved in " + scanner.folder.FilePath("demo.json") + ".\n");
    EXPECT_TRUE(scanner.EndsWithEpg());
    EXPECT_EQ(scanner.LastRun().front(), "PRG");
    const std::string demo = scanner.folder.Read("demo.json");

    std::string edited = demo;
    edited.replace(edited.find("\"154.2800\""), 10, "\"154.2950\"");
    scanner.folder.Write("edited.json", edited);
    std::string lit = edited;
    lit.replace(lit.find("\"BLT\": \"AF\""), 11, "\"BLT\": \"AO\"");
    scanner.folder.Write("lit.json", lit);
    // The same file changes nothing and an edited one only what differs;
    // erasing first clears, and the file's settings are written back after.
    const struct {
        const char* file;
        bool eraseFirst;
        std::vector<std::string> changes;  // the first ones
    } table[] = {
        {"demo.json", false, {}},
        {"edited.json", false, {"CIN,12224,,01542950,,,,,,,,"}},
        {"lit.json", true, {"CLR", "CSY,CNV"}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.file);
        QStringList arguments = {"--restore", scanner.Path(row.file), "--yes"};
        if (row.eraseFirst) arguments << "--erase-first";
        const Outcome restore = scanner.Quorvane(arguments);
        ASSERT_EQ(restore.status, 0) << restore.err;
        EXPECT_NE(restore.out.find("read back and is the same"), std::string::npos) << restore.out;
        EXPECT_TRUE(scanner.EndsWithEpg());
        const auto run = scanner.LastRun();
        std::vector<std::string> changes;
        std::copy_if(run.begin(), run.end(), std::back_inserter(changes), Changes);
        changes.resize(std::min(changes.size(), row.changes.size()));
        EXPECT_EQ(changes, row.changes);
        EXPECT_EQ(std::count(run.begin(), run.end(), "BLT,AO"), row.eraseFirst ? 1 : 0);
        ASSERT_EQ(scanner.Quorvane({"--backup", scanner.Path("after.json")}).status, 0);
        EXPECT_EQ(scanner.folder.Read("after.json"), scanner.folder.Read(row.file));
    }
    // Each restore kept the memory before it.
    EXPECT_EQ(QDir(scanner.Path("memory-backups")).entryList({"*.json"}).size(), 3);
}

TEST(MemoryEndToEnd, ABadFileOrNoOneToAskSendsNothing) {
    Programmed scanner;
    ASSERT_EQ(scanner.Quorvane({"--backup", scanner.Path("demo.json")}).status, 0);
    const std::string demo = scanner.folder.Read("demo.json");
    const auto edit = [&demo](const std::string& what, const std::string& with) {
        std::string text = demo;
        return text.replace(text.find(what), what.size(), with);
    };
    const std::string channel = "system 1 \"Lakeview County\" group 1 \"Fire\" channel 2 \"Fireground 2\": ";
    const struct {
        std::string text;
        std::string error;  // the one line on standard error, after "bad.json: "
        int status;
    } table[] = {
        {"{\"model\": ", "not JSON", 3},
        {edit("\"BC246T\"", "\"BC125AT\""), "model \"BC125AT\" is not BC246T", 3},
        {edit("\"Fireground 2\"", "\"Fireground 2 North\""),
         "system 1 \"Lakeview County\" group 1 \"Fire\" channel 2 \"Fireground 2 North\": name \"Fireground 2 North\" "
         "has 18 characters; the scanner holds 16",
         3},
        {edit("\"Fireground 2\"", "\"Fire,ground\""), "name \"Fire,ground\" holds a comma", 3},
        {edit("\"154.2800\"", "\"600.0000\""), channel + "frequency 600.0000 is outside the scanner's bands", 3},
        {edit("\"CNV\"", "\"XYZ\""), "system 1 \"Lakeview County\": type \"XYZ\" is not a system type", 3},
        {edit("\"tone\": 0", "\"tones\": 0"), "unknown field \"tones\"", 3},
        {demo, "was not restored: there is no terminal to ask on; add --yes", 6},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.error);
        scanner.folder.Write("bad.json", row.text);
        const std::size_t before = scanner.radio->ReceivedCommands().size();
        QStringList arguments{"--restore", scanner.Path("bad.json")};
        if (row.status != 6) arguments << "--yes";
        const Outcome restore = scanner.Quorvane(arguments);
        EXPECT_EQ(restore.status, row.status);
        EXPECT_EQ(std::count(restore.err.begin(), restore.err.end(), '\n'), 1) << restore.err;
        EXPECT_NE(restore.err.find(row.error), std::string::npos) << restore.err;
        EXPECT_EQ(restore.err.rfind(scanner.folder.FilePath("bad.json"), 0), 0u) << restore.err;
        WaitUntil([] { return false; }, 100);
        const auto all = scanner.radio->ReceivedCommands();
        EXPECT_EQ(std::count_if(all.begin() + static_cast<long>(before), all.end(), Changes), 0);
    }
}

TEST(MemoryEndToEnd, ALostLineOrAQuitSignalEndsTheRestoreWithEpgAtTheNextChance) {
    for (int signal : {0, SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        Programmed scanner(3000);  // CLR answers after 3 s: the restore is caught clearing
        ASSERT_EQ(scanner.Quorvane({"--backup", scanner.Path("demo.json")}).status, 0);
        QProcess program;
        program.start(QUORVANE_EXE,
                      scanner.Arguments({"--restore", scanner.Path("demo.json"), "--yes", "--erase-first"}));
        ASSERT_TRUE(scanner.radio->WaitForCommands(1, std::chrono::milliseconds(5000)));
        ASSERT_TRUE(WaitUntil([&] { return scanner.LastRun().size() > 1 && scanner.LastRun()[1] == "CLR"; }, 5000));
        if (signal == 0) scanner.radio.reset();  // the cable is pulled
        else ::kill(static_cast<pid_t>(program.processId()), signal);
        const Outcome restore = Programmed::Finish(program);
        const QStringList backups = QDir(scanner.Path("memory-backups")).entryList({"*.json"});
        ASSERT_EQ(backups.size(), 1);
        EXPECT_NE(restore.err.find("The memory before the restore is in " + scanner.folder.FilePath("memory-backups/") +
                                   backups[0].toStdString()),
                  std::string::npos)
            << restore.err;
        if (signal != 0) {
            EXPECT_EQ(restore.status, 6);
            EXPECT_NE(restore.err.find("Writing was cancelled after"), std::string::npos) << restore.err;
            EXPECT_TRUE(scanner.EndsWithEpg());
            EXPECT_FALSE(scanner.folder.Exists("scanner_in_program_mode"));
            continue;
        }
        EXPECT_EQ(restore.status, 4);
        EXPECT_EQ(restore.err.rfind("The line to the scanner was lost.", 0), 0u) << restore.err;
        EXPECT_TRUE(scanner.folder.Exists("scanner_in_program_mode"));
        // The next start on the same folder tells the scanner first of all.
        scanner.Connect();
        ASSERT_EQ(scanner.Quorvane({"--backup", scanner.Path("again.json")}).status, 0);
        const auto commands = scanner.radio->ReceivedCommands();
        ASSERT_FALSE(commands.empty());
        EXPECT_EQ(commands.front(), "EPG");
        EXPECT_FALSE(scanner.folder.Exists("scanner_in_program_mode"));
    }
}

TEST(MemoryEndToEnd, TheMemoryTabReadsEditsOneChannelWritesAndTheRadioHasIt) {
    Programmed scanner;
    Form1 form(scanner.folder.Path());
    form.show();
    form.findChild<QTabWidget*>("SSTab1")->setCurrentWidget(form.findChild<QWidget*>("Memory"));
    auto* tree = form.findChild<QTreeWidget*>("memory_tree");
    auto* status = form.findChild<QLabel*>("memory_status");  // its tooltip holds the whole text
    const auto click = [&form](const char* name) {
        QTest::mouseClick(form.findChild<QPushButton*>(name), Qt::LeftButton);
    };
    ASSERT_TRUE(WaitUntil([&] { return scanner.radio->ReceivedCommands().size() > 3; }, 3000));  // polling
    click("memory_read");
    ASSERT_TRUE(WaitUntil([&] { return status->toolTip().startsWith("Read 2 systems"); }, 5000))
        << status->toolTip().toStdString();
    QTreeWidgetItem* channel = tree->topLevelItem(0)->child(0)->child(1);
    EXPECT_EQ(channel->text(0), "Fireground 2");
    EXPECT_EQ(channel->text(2), "154.2800");
    const auto type = [&](const QString& text) {
        tree->setFocus();
        tree->setCurrentItem(channel, 2);
        tree->editItem(channel, 2);
        QLineEdit* cell = nullptr;
        for (auto* box : tree->findChildren<QLineEdit*>("memory_cell"))
            if (box->isVisible()) cell = box;
        cell->selectAll();
        QTest::keyClicks(cell, text);
        return cell;
    };

    // A value the scanner would not take is explained as it is typed, kept
    // marked, and never written.
    QLineEdit* cell = type("600");
    EXPECT_FALSE(cell->styleSheet().isEmpty());
    EXPECT_TRUE(status->toolTip().contains("frequency 600.0000 is outside the scanner's bands"))
        << status->toolTip().toStdString();
    QTest::keyClick(cell, Qt::Key_Return);
    EXPECT_TRUE(WaitUntil([&] { return channel->text(2) == "600.0000"; }, 1000)) << channel->text(2).toStdString();
    EXPECT_TRUE(channel->data(2, Qt::BackgroundRole).isValid());
    const std::size_t before = scanner.radio->ReceivedCommands().size();
    click("memory_write");
    EXPECT_TRUE(status->toolTip().startsWith("Not written: fix the marked cell first: system 1 \"Lakeview County\" "
                                             "group 1 \"Fire\" channel 2 \"Fireground 2\": frequency"))
        << status->toolTip().toStdString();
    WaitUntil([] { return false; }, 200);
    const auto polled = scanner.radio->ReceivedCommands();
    EXPECT_EQ(std::count_if(polled.begin() + static_cast<long>(before), polled.end(), Changes), 0);

    QTest::keyClick(type("154.295"), Qt::Key_Return);
    EXPECT_TRUE(WaitUntil([&] { return channel->text(2) == "154.2950"; }, 1000)) << channel->text(2).toStdString();
    EXPECT_FALSE(channel->data(2, Qt::BackgroundRole).isValid());
    click("memory_write");
    ASSERT_TRUE(WaitUntil([&] { return status->toolTip().startsWith("Wrote 1 changes"); }, 5000))
        << status->toolTip().toStdString();
    // One set command, the read-back, "EPG"; no poll while the tab had the line.
    ASSERT_TRUE(WaitUntil([&scanner] {
        const auto sent = scanner.LastRun();
        return std::find(sent.begin(), sent.end(), "EPG") != sent.end();
    }, 3000));
    auto run = scanner.LastRun();
    run.erase(std::find(run.begin(), run.end(), "EPG") + 1, run.end());
    ASSERT_GE(run.size(), 3u);
    EXPECT_EQ(run.back(), "EPG");
    EXPECT_EQ(std::count_if(run.begin(), run.end(), Changes), 1);
    const std::string set = run[1];
    ASSERT_EQ(set.substr(set.find(',', 4)), ",,01542950,,,,,,,,");
    EXPECT_EQ(std::count(run.begin(), run.end(), "STS"), 0);
    std::string stored;
    scanner.radio->ChangeState([&](RadioState& state, SimTime) {
        stored = state.Memory().Answer(SplitFields(set.substr(0, set.find(',', 4)), ','));
    });
    EXPECT_EQ(stored.rfind("CIN,Fireground 2,01542950,", 0), 0u) << stored;

    // The hit table from the tree, with no second read.
    const std::size_t written = scanner.radio->ReceivedCommands().size();
    click("memory_hit_intel");
    EXPECT_NE(scanner.folder.Read("hit_intel.txt").find("01542950\tFireground 2\tFire\tLakeview County\r\n"),
              std::string::npos);
    const auto& entries = form.HitIntel().Entries();
    EXPECT_NE(std::find_if(entries.begin(), entries.end(),
                           [](const std::string& e) { return e.rfind("01542950", 0) == 0; }),
              entries.end());
    const auto after = scanner.radio->ReceivedCommands();
    EXPECT_EQ(std::count_if(after.begin() + static_cast<long>(written), after.end(),
                            [](const std::string& c) { return c != "STS" && c != "GID" && c != "WIN"; }),
              0);
}

}  // namespace
