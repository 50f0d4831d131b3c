// Programming the simulated scanner: quorvane --backup and --restore as a
// user runs them, and the Memory tab of the real window.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "DemoScenario.h"
#include "Respond.h"
#include "E2eSupport.h"
#include "base/Fields.h"
#include "memory/MemoryFile.h"

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
    // A radio of its own: the scenario's memory and firmware, slow deletes, overruns.
    Programmed(const Scenario& scenario, SimulatorOptions options) {
        App();
        options.log_path = folder.FilePath("wire.log");
        radio = StartRadio(folder, scenario, options);
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
    // Whether the last run ends with "EPG" and the Scan key after it (the
    // radio leaves Program Mode on Scan Hold), once the radio has read them,
    // and the radio scans again.
    bool EndsWithEpg() const {
        return WaitUntil([this] {
            const auto run = LastRun();
            const auto epg = std::find(run.begin(), run.end(), "EPG");
            bool held = true;
            radio->ChangeState([&held](RadioState& state, SimTime) { held = state.Scan().Held(); });
            return epg != run.end() && epg + 1 != run.end() && epg[1] == "KEY,S,P" && !held;
        }, 3000);
    }
};

bool Changes(const std::string& command) {
    for (const char* word : {"CLR", "CSY", "AGC", "AGT", "ACC", "ACT", "DSY", "DGR", "DCH"})
        if (command.rfind(word, 0) == 0) return true;
    if (command.rfind("QGL,", 0) == 0 && command.back() == ',') return false;  // QGL's read form
    if (command.rfind("KEY,", 0) == 0) return false;  // a key press (Scan, after "EPG")
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

// The memory file with `more` channels added to the first group.
std::string WithMoreChannels(const std::string& file, int more) {
    std::optional<ScannerMemory> memory = ReadMemoryJson(file, "f.json", nullptr);
    EXPECT_TRUE(memory);
    if (!memory) return file;
    std::vector<Channel>& channels = memory->systems.at(0).groups.at(0).channels;
    for (int added = 0; added < more; ++added) {
        Channel channel = channels.front();
        channel.fields[channel_field::Name] = "Added " + std::to_string(added);
        channel.fields[channel_field::Frequency] = "0" + std::to_string(1510000 + 125 * added);
        channels.push_back(channel);
    }
    return WriteMemoryJson(*memory);
}

// Reads of one record that follow each other: the first was answered ORER.
long RepeatedReads(const std::vector<std::string>& commands) {
    long repeated = 0;
    for (std::size_t at = 1; at < commands.size(); ++at) {
        const std::string word = commands[at].substr(0, 4);
        const bool read = word == "SIN," || word == "GIN," || word == "CIN," || word == "TIN," || word == "TFQ," ||
                          word == "TRN,";
        if (read && commands[at] == commands[at - 1] && commands[at].find(',', 4) == std::string::npos) ++repeated;
    }
    return repeated;
}

// A backup, then settings, records and lockouts changed on the radio, then a
// restore of the backup (no erase): the radio holds the backup again, with
// either way the firmware treats a new trunked system, while deletes are
// answered after 1.5 s and every 50th record read is answered ORER. A file
// bigger than the free memory changes nothing, erasing first or not.
TEST(MemoryEndToEnd, ARestoreBringsBackEverySettingAndRecordWithSlowDeletesAndOverruns) {
    for (bool firmwareGroups : {true, false}) {
        SCOPED_TRACE(firmwareGroups);
        Scenario scenario = DemoScenario();
        scenario.firmware_trunk_groups = firmwareGroups;
        scenario.memory_capacity = 400;
        SimulatorOptions options;
        options.clear_ms = 200;
        options.delete_ms = 1500;
        options.orer_every = 50;
        Programmed scanner(scenario, options);
        ASSERT_EQ(scanner.Quorvane({"--backup", scanner.Path("demo.json")}).status, 0);
        scanner.folder.Write("big.json", WithMoreChannels(scanner.folder.Read("demo.json"), 150));
        const Outcome grow = scanner.Quorvane({"--restore", scanner.Path("big.json"), "--yes"});
        ASSERT_EQ(grow.status, 0) << grow.err;
        for (const char* command : {"PRG", "LOF,01544300", "OMS,Hello,World", "CSP,3,Air,,,,,,,", "EPG"})
            scanner.radio->ChangeState([&](RadioState& state, SimTime now) { Respond(state, command, now); });
        const Outcome backup = scanner.Quorvane({"--backup", scanner.Path("backup.json")});
        ASSERT_EQ(backup.status, 0) << backup.err;
        const std::string saved = scanner.folder.Read("backup.json");
        ASSERT_NE(saved.find("Hello"), std::string::npos);

        // Everything changed: erased, a stray system to delete, other settings.
        for (const char* command : {"PRG", "CLR", "CSY,LTR", "BLT,AF", "EPG"})
            scanner.radio->ChangeState([&](RadioState& state, SimTime now) { Respond(state, command, now); });
        const std::size_t before = scanner.radio->ReceivedCommands().size();
        const Outcome restore = scanner.Quorvane({"--restore", scanner.Path("backup.json"), "--yes"});
        ASSERT_EQ(restore.status, 0) << restore.err;
        EXPECT_NE(restore.out.find("read back and is the same"), std::string::npos) << restore.out;
        const auto all = scanner.radio->ReceivedCommands();
        const std::vector<std::string> run(all.begin() + static_cast<long>(before), all.end());
        EXPECT_EQ(std::count(run.begin(), run.end(), "CLR"), 0);
        EXPECT_EQ(std::count_if(run.begin(), run.end(), [](const std::string& c) { return c.rfind("DSY,", 0) == 0; }),
                  1);
        EXPECT_GE(RepeatedReads(run), 3);  // overruns met during the restore's reads
        ASSERT_EQ(scanner.Quorvane({"--backup", scanner.Path("after.json")}).status, 0);
        EXPECT_EQ(scanner.folder.Read("after.json"), saved);

        // Too big for the free memory: nothing changes, erasing first or not.
        scanner.folder.Write("huge.json", WithMoreChannels(saved, 300));
        for (bool eraseFirst : {false, true}) {
            QStringList arguments{"--restore", scanner.Path("huge.json"), "--yes"};
            if (eraseFirst) arguments << "--erase-first";
            const std::size_t mark = scanner.radio->ReceivedCommands().size();
            const Outcome refused = scanner.Quorvane(arguments);
            EXPECT_NE(refused.status, 0);
            EXPECT_NE(refused.err.find("Nothing was changed."), std::string::npos) << refused.err;
            const auto sent = scanner.radio->ReceivedCommands();
            EXPECT_EQ(std::count_if(sent.begin() + static_cast<long>(mark), sent.end(), Changes), 0);
        }
        ASSERT_EQ(scanner.Quorvane({"--backup", scanner.Path("unchanged.json")}).status, 0);
        EXPECT_EQ(scanner.folder.Read("unchanged.json"), saved);
    }
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
    ASSERT_TRUE(WaitUntil([&] { return status->toolTip().startsWith("Wrote 1 change;"); }, 5000))
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

    // Changed from outside (the keypad, another restore): Write compares with
    // what the scanner holds now, not with the tab's last read.
    const std::string index = set.substr(4, set.find(',', 4) - 4);
    for (const std::string& command : std::vector<std::string>{"PRG", "CIN," + index + ",Outside,,,,,,,,,", "EPG"})
        scanner.radio->ChangeState([&](RadioState& state, SimTime now) { Respond(state, command, now); });
    click("memory_write");
    ASSERT_TRUE(WaitUntil([&] { return status->toolTip().startsWith("Wrote 1 change;"); }, 5000))
        << status->toolTip().toStdString();
    scanner.radio->ChangeState([&](RadioState& state, SimTime) { stored = state.Memory().Answer({"CIN", index}); });
    EXPECT_EQ(stored.rfind("CIN,Fireground 2,01542950,", 0), 0u) << stored;
    EXPECT_TRUE(WaitUntil([&] { return form.findChild<QLabel*>("memory_progress")->text().isEmpty(); }, 1000));

    // Erasing first, by choice: CLR, then the whole tree and its settings.
    form.findChild<QCheckBox*>("memory_erase_first")->setChecked(true);
    click("memory_write");
    ASSERT_TRUE(WaitUntil([&] { return status->toolTip().startsWith("Wrote "); }, 10000))
        << status->toolTip().toStdString();
    EXPECT_TRUE(status->toolTip().contains("read back and is the same")) << status->toolTip().toStdString();
    ASSERT_GE(scanner.LastRun().size(), 2u);
    EXPECT_EQ(scanner.LastRun()[1], "CLR");
    EXPECT_TRUE(scanner.EndsWithEpg());
    form.findChild<QCheckBox*>("memory_erase_first")->setChecked(false);

    // The hit table from the tree, with no second read.
    const std::size_t written = scanner.radio->ReceivedCommands().size();
    click("memory_hit_intel");
    EXPECT_NE(scanner.folder.Read("hit_intel.txt").find("01542950\tFireground 2\tFire\tLakeview County\r\n"),
              std::string::npos);
    const auto& entries = form.Scanner().HitIntel().Entries();
    EXPECT_NE(std::find_if(entries.begin(), entries.end(),
                           [](const std::string& e) { return e.rfind("01542950", 0) == 0; }),
              entries.end());
    const auto after = scanner.radio->ReceivedCommands();
    EXPECT_EQ(std::count_if(after.begin() + static_cast<long>(written), after.end(),
                            [](const std::string& c) { return c != "STS" && c != "GID" && c != "WIN"; }),
              0);
}

}  // namespace

// A radio-listener database's frequency table restored into a conventional
// system named on the command line: its channels land in a group per Tag,
// the rest of the memory stays; a system that is not there changes nothing.
TEST(MemoryEndToEnd, AChannelTableFromADatabaseGoesIntoTheNamedSystem) {
    Programmed scanner;
    ASSERT_EQ(scanner.Quorvane({"--backup", scanner.Path("before.json")}).status, 0);
    const std::optional<ScannerMemory> before = ReadMemoryJson(scanner.folder.Read("before.json"), "before.json", nullptr);
    ASSERT_TRUE(before);
    const auto conventional = std::find_if(before->systems.begin(), before->systems.end(),
                                           [](const System& s) { return s.type == kConventionalType; });
    ASSERT_NE(conventional, before->systems.end());
    const std::string name = conventional->fields[system_field::Name];
    scanner.folder.Write("county.csv",
                         "Frequency Output,Frequency Input,FCC Callsign,Agency/Category,Description,Alpha Tag,PL Tone,"
                         "Mode,Class Station Use,Tag\r\n"
                         "155.1000,,,County,EMS Main,EMS Main,100.0 PL,FMN,BM,EMS\r\n");

    const Outcome wrong = scanner.Quorvane({"--restore", scanner.Path("county.csv"), "--yes", "--into", "Nowhere"});
    EXPECT_NE(wrong.status, 0);
    EXPECT_NE(wrong.err.find("no conventional system named \"Nowhere\""), std::string::npos) << wrong.err;
    auto run = scanner.LastRun();
    EXPECT_EQ(std::count_if(run.begin(), run.end(), Changes), 0);

    const Outcome restore =
        scanner.Quorvane({"--restore", scanner.Path("county.csv"), "--yes", "--into", QString::fromStdString(name)});
    ASSERT_EQ(restore.status, 0) << restore.err;
    EXPECT_NE(restore.out.find("1 channels into 1 groups"), std::string::npos) << restore.out;
    EXPECT_TRUE(scanner.EndsWithEpg());
    ASSERT_EQ(scanner.Quorvane({"--backup", scanner.Path("after.json")}).status, 0);
    const std::optional<ScannerMemory> after = ReadMemoryJson(scanner.folder.Read("after.json"), "after.json", nullptr);
    ASSERT_TRUE(after);
    ASSERT_EQ(after->systems.size(), before->systems.size());
    const System& into = after->systems[static_cast<size_t>(conventional - before->systems.begin())];
    ASSERT_EQ(into.groups.size(), conventional->groups.size() + 1);  // the Tag's group, at the end
    for (size_t g = 0; g < conventional->groups.size(); ++g) EXPECT_EQ(into.groups[g], conventional->groups[g]);
    EXPECT_EQ(into.groups.back().fields[group_field::Name], "EMS");
    ASSERT_EQ(into.groups.back().channels.size(), 1u);
    EXPECT_EQ(into.groups.back().channels[0].fields[channel_field::Frequency], "01551000");
    EXPECT_EQ(into.groups.back().channels[0].fields[channel_field::Name], "EMS Main");
}
