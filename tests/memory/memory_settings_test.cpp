#include <gtest/gtest.h>

#include "DemoScenario.h"
#include "memory/MemoryCapacity.h"
#include "memory/MemoryCommands.h"
#include "memory/MemoryCompare.h"
#include "memory/MemoryFile.h"
#include "memory/MemoryReader.h"
#include "memory/MemorySettings.h"
#include "memory/MemoryTestData.h"
#include "memory/PlanRunner.h"
#include "memory/WritePlan.h"

namespace quorvane {
namespace {

using Commands = std::vector<std::string>;

ScannerMemory Backup(RadioState& radio, const test::Tamper& tamper = {}) {
    MemoryReader reader;
    const test::Run run = test::Drive(reader, radio, tamper);
    EXPECT_EQ(run.end.outcome, MemoryOutcome::Finished) << run.end.message;
    return reader.Result();
}

TEST(MemorySettings, OnlyWhatDiffersIsSentAndListsChangeByTheirMembers) {
    ScannerMemory read;
    read.settings = ScannerSettings{{{"BLT", "AF"}, {"CSP,0", "SRCH 10,1,2,0,AUTO,0,2,0"}}, {"01544300"}};
    read.systems = {System{}};
    read.systems[0].index = "100";
    read.systems[0].type = "M82S";
    read.systems[0].groupQuickKeys = "1111111111";
    read.systems[0].lockedIds = {"100", "200"};
    ScannerMemory target = read;
    target.settings->values["BLT"] = "AO";
    target.settings->lockedFrequencies = {"01544300", "04600000"};
    target.systems[0].groupQuickKeys = "1010101010";
    target.systems[0].lockedIds = {"200", "300"};
    EXPECT_EQ(SettingCommands(read, target),
              (Commands{"BLT,AO", "QGL,100,1010101010", "ULI,100,100", "LOI,100,300", "LOF,04600000"}));
    EXPECT_EQ(SettingCommands(read, read), Commands{});
    // After CLR nothing is known: every setting goes out.
    EXPECT_EQ(SettingCommands(ScannerMemory{}, read),
              (Commands{"BLT,AF", "CSP,0,SRCH 10,1,2,0,AUTO,0,2,0", "QGL,100,1111111111", "LOI,100,100",
                        "LOI,100,200", "LOF,01544300"}));
    // A file of the first version holds no settings: none are touched.
    ScannerMemory old = target;
    old.settings.reset();
    EXPECT_EQ(SettingCommands(read, old), Commands{});
    // Settings alone are a write.
    EXPECT_FALSE(WritesNothing(PlanWrite(read, target)));
    EXPECT_TRUE(WritesNothing(PlanWrite(read, read)));
    EXPECT_TRUE(WritesNothing(PlanWrite(read, old)));
    // The check after it compares the quick keys some group holds (key 3
    // here): the scanner switches no other.
    target.systems[0].groups = {test::TgGrp("220", "Police", {})};
    target.systems[0].groups[0].fields[group_field::QuickKey] = "3";
    ScannerMemory after = target;
    after.systems[0].groupQuickKeys = "0010101011";
    EXPECT_EQ(FirstDifference(target, after), std::nullopt);
    after.systems[0].groupQuickKeys = "1000101010";
    EXPECT_EQ(FirstDifference(target, after),
              "system 1 \"\": group quick keys \"1010101010\" != \"1000101010\"");
}

TEST(MemorySettings, TheFileKeepsTheSettingsAndAFileOfTheFirstVersionHasNone) {
    const struct {
        std::string text;
        bool settings;
        std::string problem;
    } table[] = {
        {R"({"model": "BC246T", "systems": []})", false, ""},
        {R"({"version": 2, "model": "BC246T", "settings": {"BLT": "AO", "lockedFrequencies": ["01544300"]},
             "systems": [{"name": "M", "type": "M82S", "groupQuickKeys": "1000000000", "lockedIds": ["77"]}]})",
         true, ""},
        {R"({"version": 3, "model": "BC246T", "systems": []})", false,
         "f.json: version 3 is newer than this program reads (2)"},
        {R"({"model": "BC246T", "settings": {"XYZ": "1"}, "systems": []})", false,
         "f.json: settings: unknown setting \"XYZ\""},
        {R"({"model": "BC246T", "settings": {"lockedFrequencies": ["154.43"]}, "systems": []})", false,
         "f.json: settings: locked-out frequency \"154.43\" is not 8 digits"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.text);
        std::string problem;
        const std::optional<ScannerMemory> memory = ReadMemoryJson(row.text, "f.json", &problem);
        EXPECT_EQ(problem, row.problem);
        if (!memory) continue;
        EXPECT_EQ(memory->settings.has_value(), row.settings);
        // What is read is written the same way back.
        EXPECT_EQ(ReadMemoryJson(WriteMemoryJson(*memory), "f.json", nullptr), memory);
    }
}

// The backup of the bc246t Python command line program reads as a memory:
// its settings are set, the scanner's lockouts stay.
TEST(MemorySettings, TheBackupOfThePythonCommandLineProgramReads) {
    const std::string text = R"({"meta": {"created_at": "2025-01-01T00:00:00+00:00"},
        "info": {"model": "BC246T", "firmware": "VR2.60"},
        "settings": {"backlight": "KY", "battery_save": true, "key_beep": false, "greeting": ["Hi", "There"],
                     "priority_mode": 2},
        "systems": [{"system_type": "CNV", "name": "County", "quick_key": 10,
                     "groups": [{"group_type": "C", "group_name": "Fire",
                                 "channels": [{"name": "Disp", "frequency": 1544300, "modulation": "NFM"}]}]}]})";
    std::string problem;
    const std::optional<ScannerMemory> memory = ReadMemoryJson(text, "cli.json", &problem);
    ASSERT_TRUE(memory) << problem;
    EXPECT_EQ(memory->firmware, "VR2.60");
    ASSERT_TRUE(memory->settings);
    EXPECT_EQ(memory->settings->values, (std::map<std::string, std::string>{
                                            {"BLT", "KY"}, {"BSV", "1"}, {"KBP", "0"}, {"OMS", "Hi,There"}, {"PRI", "2"}}));
    EXPECT_FALSE(memory->settings->lockoutsKnown);
    ASSERT_EQ(memory->systems.size(), 1u);
    EXPECT_EQ(memory->systems[0].fields, (Fields{"County", "0", "2", "0", "0", "2", "0", "0"}));
    EXPECT_EQ(memory->systems[0].groups.at(0).fields, (Fields{"Fire", "1", "0"}));
    EXPECT_EQ(memory->systems[0].groups[0].channels.at(0).fields,
              (Fields{"Disp", "01544300", "0", "NFM", "0", "0", "0", "0", "0", "0"}));
    ScannerMemory read;
    read.settings = ScannerSettings{{}, {"01544300"}};
    EXPECT_EQ(SettingCommands(read, *memory),
              (Commands{"BLT,KY", "BSV,1", "KBP,0", "OMS,Hi,There", "PRI,2"}));  // no ULF
    EXPECT_FALSE(ReadMemoryJson(R"({"info": {}, "systems": [{"system_type": "M82S", "name": "T"}]})", "cli.json",
                                &problem));
    EXPECT_EQ(problem, "cli.json: system 1 \"T\": only conventional systems (\"CNV\") are read from this file");
}

TEST(MemorySettings, ARestoreTooBigForTheFreeMemoryIsRefusedSayingHowMuchIsMissing) {
    RadioState radio(DemoScenario());  // 13 records
    const ScannerMemory held = Backup(radio);
    ScannerMemory bigger = WithoutIndexes(held);
    Group& fire = bigger.systems[0].groups[0];
    for (int more = 0; more < 10; ++more) fire.channels.push_back(fire.channels.front());  // 23 records
    const struct {
        int usedPercent;
        bool eraseFirst;
        std::optional<std::string> problem;
    } table[] = {
        {65, false,  // 13 records are 65 %: room for 20
         "The file needs about 3 more records than the scanner has room for (it holds 13, about 7 more fit). "
         "Nothing was changed."},
        {65, true, "The file needs about 3 more records than the scanner has room for (it holds 13, about 7 more "
                   "fit). Nothing was changed."},
        {50, false, std::nullopt},  // room for 26
        {0, false, std::nullopt},   // unknown: no estimate
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.usedPercent);
        EXPECT_EQ(CapacityProblem(held, row.usedPercent, bigger, row.eraseFirst), row.problem);
    }
    Scenario small = DemoScenario();
    small.memory_capacity = 20;
    RadioState full(small);
    MemoryReader reader;
    ASSERT_EQ(test::Drive(reader, full).end.outcome, MemoryOutcome::Finished);
    EXPECT_EQ(reader.MemoryUsedPercent(), 65);
}

// A backup, then changed settings, records and lockouts on the radio, then
// a restore of the backup: the radio holds the backup again, with either way
// the firmware treats a new trunked system, while a record read is
// answered "ORER" (every 10th here, as this memory is small) and a delete's
// answer comes late, or is lost (the delete sent again is refused).
TEST(MemorySettings, ARestoreBringsBackEverySettingAndRecordWithBothTrunkModels) {
    for (const auto& [firmwareGroups, lostDelete] : {std::pair{true, false}, {false, false}, {true, true}}) {
        SCOPED_TRACE(testing::Message() << firmwareGroups << lostDelete);
        Scenario scenario = DemoScenario();
        scenario.firmware_trunk_groups = firmwareGroups;
        RadioState radio(scenario);
        ScannerMemory wanted = WithoutIndexes(test::SmallMemory());
        {
            PlanRunner first(PlanRestore(wanted));  // the small memory with a trunked system
            ASSERT_EQ(test::Drive(first, radio).end.outcome, MemoryOutcome::Finished) << first.Current().message;
        }
        for (const char* command : {"PRG", "BLT,AO", "OMS,Hello,World", "LOF,01544300", "CSP,3,Air,,,,,,,"})
            Respond(radio, command, 0);
        ScannerMemory file = Backup(radio);
        ASSERT_TRUE(file.settings);
        ASSERT_EQ(file.systems.size(), 2u);
        Respond(radio, "PRG", 0);
        Respond(radio, "LOI," + file.systems[1].index + ",777", 0);
        file = Backup(radio);
        ASSERT_EQ(file.systems[1].lockedIds, Commands{"777"});
        const std::string text = WriteMemoryJson(file);

        // Everything changed: erased, a stray system to delete, other settings.
        for (const char* command : {"PRG", "CLR", "CSY,LTR", "BLT,AF", "EPG"}) Respond(radio, command, 0);
        std::string problem;
        const std::optional<ScannerMemory> restored = ReadMemoryJson(text, "backup.json", &problem);
        ASSERT_TRUE(restored) << problem;
        int reads = 0;
        std::string heldDelete;
        const bool loseDelete = lostDelete;  // clang cannot capture a structured binding
        const test::Tamper tamper = [&](int, const std::string& reply) -> Commands {
            const std::string word = reply.substr(0, 3);
            if (word == "DSY" && heldDelete.empty()) return heldDelete = reply, Commands{};  // answers late
            if (!heldDelete.empty() && word == "DSY") return loseDelete ? Commands{reply} : Commands{heldDelete, reply};
            for (const char* read : {"SIN", "GIN", "CIN", "TIN", "TFQ", "TRN", "MCP"})
                if (word == read && ++reads % 10 == 0) return Commands{"ORER"};
            return Commands{reply};
        };
        const ScannerMemory before = Backup(radio, tamper);
        PlanRunner restore(PlanWrite(before, *restored));
        const test::Run run = test::Drive(restore, radio, tamper);
        ASSERT_EQ(run.end.outcome, MemoryOutcome::Finished) << run.end.message;
        EXPECT_EQ(std::count(run.commands.begin(), run.commands.end(), "CLR"), 0);
        // Two channel groups, and the site only where the firmware made none.
        EXPECT_EQ(std::count_if(run.commands.begin(), run.commands.end(),
                                [](const std::string& c) { return c.rfind("AGC,", 0) == 0; }),
                  firmwareGroups ? 2 : 3);
        EXPECT_GE(reads, 20);
        EXPECT_EQ(WriteMemoryJson(Backup(radio)), text);
    }
}

}  // namespace
}  // namespace quorvane
