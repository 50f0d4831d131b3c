#include <gtest/gtest.h>

#include "DemoScenario.h"
#include "memory/HitIntelFromMemory.h"
#include "memory/MemoryCompare.h"
#include "memory/MemoryFile.h"
#include "memory/MemoryReader.h"
#include "memory/MemorySettings.h"
#include "memory/MemoryTestData.h"
#include "memory/MemoryValidation.h"
#include "memory/PlanRunner.h"
#include "memory/WritePlan.h"
#include "tools/Harvest.h"

namespace quorvane {
namespace {

using test::Drive;
using Commands = std::vector<std::string>;

// The reads after the records: MEM, every global setting, QGL of each of the demo's
// two conventional systems, and GLF until its "-1".
const std::size_t kDemoSettingReads = 1 + GlobalSettingKeys().size() + 2 + 1;

// The memory without the scanner's settings (a file of the first version).
ScannerMemory WithoutSettings(ScannerMemory memory) {
    memory.settings.reset();
    for (System& system : memory.systems) {
        system.groupQuickKeys.clear();
        system.lockedIds.clear();
    }
    return memory;
}

ScannerMemory Backup(RadioState& radio) {
    MemoryReader reader;
    const test::Run run = Drive(reader, radio);
    EXPECT_EQ(run.end.outcome, MemoryOutcome::Finished) << run.end.message;
    return reader.Result();
}

TEST(MemoryEngines, BackupOfTheDemoMemoryReadsEveryRecordAndLeavesProgramMode) {
    RadioState radio(DemoScenario());
    MemoryReader reader;
    const test::Run run = Drive(reader, radio);
    ASSERT_EQ(run.end.outcome, MemoryOutcome::Finished) << run.end.message;
    EXPECT_TRUE(run.end.leaveProgramming);
    EXPECT_FALSE(radio.Programming());
    EXPECT_EQ(Commands(run.commands.begin(), run.commands.begin() + 4), (Commands{"PRG", "MDL", "VER", "SIH"}));
    EXPECT_EQ(run.commands.size(), 4u + 2 + 3 + 8 + kDemoSettingReads);  // systems, groups, channels: one read each
    EXPECT_EQ(run.end.progress.recordsDone, 13u);
    const ScannerMemory& memory = reader.Result();
    EXPECT_EQ(memory.model, "BC246T");
    ASSERT_EQ(memory.systems.size(), 2u);
    ASSERT_EQ(memory.systems[1].groups.at(0).channels.size(), 2u);
    EXPECT_EQ(memory.systems[1].groups[0].channels[1].fields,
              (Fields{"Bridge \x82 Lock", "01566500", "0", "FM", "0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(memory.systems[0].groups.at(1).channels.at(2).fields[channel_field::Name], "Jail");
    // A backup is a file that can be restored as it is.
    EXPECT_EQ(ValidateMemory(memory, "backup.json"), Commands{});
    const std::string file = WriteMemoryJson(memory);
    EXPECT_NE(file.find("\"name\": \"Bridge \u201A Lock\""), std::string::npos);
    EXPECT_NE(file.find("\"frequency\": \"156.6500\""), std::string::npos);
}

TEST(MemoryEngines, RestoreIntoAClearedRadioGivesTheSameMemory) {
    ScannerMemory trunked = WithoutIndexes(test::SmallMemory());
    trunked.systems[1].type = "M82C";
    for (std::size_t at = 0; at < trunked.systems[1].bandPlan.size(); ++at)
        trunked.systems[1].bandPlan[at] = at % 4 < 2 ? "08510000" : "0";
    RadioState demo(DemoScenario());
    for (const ScannerMemory& memory : {WithoutIndexes(Backup(demo)), trunked}) {
        RadioState radio{Scenario{}};
        PlanRunner restore(PlanRestore(memory));
        const test::Run run = Drive(restore, radio);
        ASSERT_EQ(run.end.outcome, MemoryOutcome::Finished) << run.end.message;
        EXPECT_EQ(Commands(run.commands.begin(), run.commands.begin() + 3), (Commands{"PRG", "CLR", "CSY,CNV"}));
        EXPECT_FALSE(radio.Programming());
        EXPECT_EQ(WriteMemoryJson(WithoutSettings(Backup(radio))), WriteMemoryJson(WithoutSettings(memory)));
        EXPECT_EQ(restore.Result().systems.back().groups.back().index.empty(), false);  // indexes filled in
    }
}

// A restore's progress goes through its stages in order, each with counts
// of its own that only grow and end at their total.
TEST(MemoryEngines, RestoreProgressSaysClearingThenCountsEachStageToItsTotal) {
    RadioState radio(DemoScenario());
    const ScannerMemory memory = WithoutIndexes(Backup(radio));
    PlanRunner restore(PlanRestore(memory));
    const test::Run run = Drive(restore, radio);
    ASSERT_EQ(run.end.outcome, MemoryOutcome::Finished) << run.end.message;
    std::vector<MemoryStage> stages;
    for (const MemoryProgress& progress : run.progress) {
        if (stages.empty() || stages.back() != progress.stage) {
            stages.push_back(progress.stage);
            continue;
        }
        const MemoryProgress& before = *(&progress - 1);
        EXPECT_GE(progress.recordsDone, before.recordsDone);
        if (progress.stage == MemoryStage::Writing) {
            EXPECT_EQ(progress.recordsTotal, before.recordsTotal);
        }
    }
    EXPECT_EQ(stages, (std::vector<MemoryStage>{MemoryStage::Clearing, MemoryStage::Writing, MemoryStage::Checking}));
    const MemoryProgress& last = run.end.progress;
    EXPECT_EQ(last.recordsDone, last.recordsTotal);
    EXPECT_EQ(ProgressText(run.progress.at(1), 2.0), "Clearing the scanner's memory (about 10 s)");
    MemoryProgress writing{MemoryStage::Writing, 13, 40, 0};
    EXPECT_EQ(ProgressText(writing, 25.0), "Writing: 13/40 changes, 25.0 commands/s");
    EXPECT_EQ(run.end.message.rfind("Wrote ", 0), 0u);
}

TEST(MemoryEngines, AnEditedFileOrTreeChangesExactlyWhatWasEdited) {
    RadioState radio(DemoScenario());
    const ScannerMemory before = Backup(radio);
    ScannerMemory edited = before;
    edited.systems[0].groups[0].channels[1].fields[channel_field::Frequency] = "01542900";

    PlanRunner restore(PlanRestore(WithoutIndexes(edited)));
    ASSERT_EQ(Drive(restore, radio).end.outcome, MemoryOutcome::Finished);
    const ScannerMemory after = Backup(radio);
    EXPECT_EQ(FirstDifference(edited, after), std::nullopt);
    EXPECT_EQ(FirstDifference(before, after),
              "system 1 \"Lakeview County\" group 1 \"Fire\" channel 2 \"Fireground 2\": frequency 154.2800 != "
              "154.2900");

    // The Memory tab's way: only the changed record is written, and read back.
    ScannerMemory renamed = after;
    Channel& jail = renamed.systems[0].groups[1].channels[2];
    jail.fields[channel_field::Name] = "County Jail";
    PlanRunner write(PlanWrite(after, renamed));
    const test::Run run = Drive(write, radio);
    ASSERT_EQ(run.end.outcome, MemoryOutcome::Finished) << run.end.message;
    EXPECT_EQ(Commands(run.commands.begin(), run.commands.begin() + 2),
              (Commands{"PRG", "CIN," + jail.index + ",County Jail,,,,,,,,,"}));
    EXPECT_EQ(Commands(run.commands.end() - 3 - static_cast<long>(kDemoSettingReads),
                       run.commands.end() - static_cast<long>(kDemoSettingReads)),
              (Commands{"CIN," + after.systems[0].groups[1].channels[1].index, "CIN," + jail.index,
                        "SIN," + after.systems[1].index}));
    EXPECT_EQ(FirstDifference(renamed, Backup(radio)), std::nullopt);
    EXPECT_EQ(write.Difference(), std::nullopt);

    // Group quick keys alone are a write too, and read back.
    ScannerMemory keyed = Backup(radio);
    keyed.systems[0].groupQuickKeys = "0111111111";
    PlanRunner keys(PlanWrite(Backup(radio), keyed));
    const test::Run keyRun = Drive(keys, radio);
    ASSERT_EQ(keyRun.end.outcome, MemoryOutcome::Finished) << keyRun.end.message;
    EXPECT_EQ(keyRun.commands.at(1), "QGL," + keyed.systems[0].index + ",0111111111");
    EXPECT_EQ(Backup(radio).systems[0].groupQuickKeys, "0111111111");

    // A record that does not read back as written fails the run and says where.
    renamed.systems[0].groups[1].channels[2].fields[channel_field::Name] = "Jail";
    PlanRunner differing(PlanWrite(Backup(radio), renamed));
    const test::Run bad = Drive(differing, radio, [](int, const std::string& reply) {
        return Commands{reply.rfind("CIN,Jail,", 0) == 0 ? "CIN,Jall," + reply.substr(9) : reply};
    });
    EXPECT_EQ(bad.end.outcome, MemoryOutcome::Failed);
    EXPECT_EQ(differing.Difference(),
              "system 1 \"Lakeview County\" group 2 \"Sheriff\" channel 3 \"Jail\": name \"Jail\" != \"Jall\"");
}

TEST(MemoryEngines, MemoryFullAndErrorRepliesEndWithAMessageAndStillLeaveProgramMode) {
    RadioState demo(DemoScenario());
    const ScannerMemory memory = WithoutIndexes(Backup(demo));
    const auto answer = [](const std::string& command, const std::string& with) {
        return [command, with](int, const std::string& reply) {
            return Commands{reply.rfind(command, 0) == 0 ? with : reply};
        };
    };
    const struct {
        const char* what;
        bool restore;
        test::Tamper tamper;
        std::string message;
    } table[] = {
        {"memory full", true, {},
         "The scanner's memory is full: system 1 \"Lakeview County\" group 1 \"Fire\" channel 2 \"Fireground 2\" "
         "could not be made (ACC,"},
        {"ERR", true, answer("CIN,OK", "ERR"), "The scanner answered ERR to CIN,"},
        {"NG", false, answer("GIN,", "GIN,NG"), "The scanner answered GIN,NG to GIN,"},
        {"FER", false, answer("MDL,", "FER"), "The scanner answered FER to MDL: framing error"},
        {"ORER", true, answer("CLR,", "ORER"), "The scanner answered ORER to CLR: the scanner's input overran"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        Scenario small;
        small.memory_capacity = 3;
        RadioState radio(row.tamper ? DemoScenario() : small);
        PlanRunner restore(PlanRestore(memory));
        MemoryReader reader;
        MemoryEngine& engine = row.restore ? static_cast<MemoryEngine&>(restore) : reader;
        const test::Run run = Drive(engine, radio, row.tamper);
        EXPECT_EQ(run.end.outcome, MemoryOutcome::Failed);
        EXPECT_EQ(run.end.message.substr(0, row.message.size()), row.message);
        EXPECT_TRUE(run.end.leaveProgramming);
        EXPECT_FALSE(radio.Programming());
    }
}

TEST(MemoryEngines, ALostOrLateReplyIsAskedForAgainAndNotTakenForAnother) {
    RadioState reference(DemoScenario());
    const ScannerMemory memory = Backup(reference);
    std::string held;
    const struct {
        const char* what;
        test::Tamper tamper;
        std::size_t extraCommands;
    } table[] = {
        {"lost", [](int call, const std::string& reply) { return call == 6 ? Commands{} : Commands{reply}; }, 1},
        // Held back, then it comes before the next reply: passed over.
        {"late",
         [&held](int call, const std::string& reply) {
             if (call == 6) return held = reply, Commands{};
             if (call == 7) return Commands{held, reply};
             return Commands{reply};
         },
         1},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        RadioState radio(DemoScenario());
        MemoryReader reader;
        const test::Run run = Drive(reader, radio, row.tamper);
        ASSERT_EQ(run.end.outcome, MemoryOutcome::Finished) << run.end.message;
        EXPECT_EQ(run.commands.size(), 17u + kDemoSettingReads + row.extraCommands);
        EXPECT_EQ(run.commands[6], run.commands[7]);
        EXPECT_EQ(reader.Result(), memory);
    }

    // A record garbled on the line into another type or without its
    // frequency is not taken: it is asked for again.
    const struct {
        int call;
        std::string from, to;
    } garbled[] = {{4, "SIN,CNV,", "SIN,CVN,"}, {5, "GIN,C,", "GIN,Cri,"},
                   {6, "CIN,Fire Dispatch,01544300,", "CIN,Fire Dispatch,,"}};
    for (const auto& row : garbled) {
        RadioState radio(DemoScenario());
        MemoryReader reader;
        const test::Run run = Drive(reader, radio, [&row](int at, const std::string& reply) {
            return Commands{at == row.call ? row.to + reply.substr(row.from.size()) : reply};
        });
        ASSERT_EQ(run.end.outcome, MemoryOutcome::Finished) << run.end.message;
        EXPECT_EQ(run.commands[row.call], run.commands[row.call + 1]);
        EXPECT_EQ(reader.Result(), memory);
    }

    // No reply at all: the same command kMostSends times, then the end.
    RadioState radio(DemoScenario());
    MemoryReader silent;
    const test::Run none = Drive(silent, radio, [](int, const std::string&) { return Commands{}; });
    EXPECT_EQ(none.commands, Commands(5, "PRG"));
    EXPECT_EQ(none.end.message, "No usable reply to PRG after 5 tries. Check the cable and the port speed.");
    EXPECT_TRUE(none.end.leaveProgramming);
}

// A make or delete without an answer is never sent again blindly: the list
// it changes is read back first; only what was not done goes again, and a
// record made twice is deleted again.
TEST(MemoryEngines, AChangeWithoutAnswerIsReadBackAndARecordMadeTwiceIsDeleted) {
    RadioState reference(DemoScenario());
    const ScannerMemory before = Backup(reference);
    // The last channel of the first group goes, a new group with a channel comes.
    ScannerMemory edited = before;
    edited.systems[0].groups[0].channels.pop_back();
    edited.systems[0].groups.push_back(test::Grp("", "New", {test::Ch("", "Added", "01551000")}));
    const auto starts = [](const std::string& text, const char* word) { return text.rfind(word, 0) == 0; };
    // Per row: the radio, and which command or reply the line loses or delays.
    struct Line {
        RadioState* radio;
        int seen = 0;  // sends of the command in question so far
    };
    using Hook = Commands (*)(Line& line, int send, const std::string& command, const std::string& reply);
    const Hook lostFirst = [](Line&, int send, const std::string&, const std::string& reply) {
        return send == 1 ? Commands{} : Commands{reply};
    };
    const Hook passed = [](Line&, int, const std::string&, const std::string& reply) { return Commands{reply}; };
    const struct {
        const char* what;
        const char* word;  // the command in question
        int unheardSends;  // its first sends that never reach the radio
        Hook reply;        // what comes over the line for its reply (send counted from 1)
        int sends;         // sends of the word in the run
        int deletes;       // DCH in the run
        bool finished;
    } table[] = {
        {"append's answer lost", "ACC", 0, lostFirst, 1, 1, true},
        {"delete's answer lost", "DCH", 0, lostFirst, 1, 1, true},
        {"group's answer lost", "AGC", 0, lostFirst, 1, 1, true},
        {"append answered ORER after it was taken", "ACC", 0,
         [](Line&, int send, const std::string&, const std::string& reply) {
             return send == 1 ? Commands{"ORER"} : Commands{reply};
         },
         1, 1, true},
        {"append not heard", "ACC", 1, passed, 2, 1, true},
        {"delete not heard", "DCH", 1, passed, 2, 2, true},
        {"append taken twice", "ACC", 0,
         [](Line& line, int send, const std::string& command, const std::string& reply) {
             if (send != 1) return Commands{reply};
             Respond(*line.radio, command, 0);  // a second record, no answer
             return Commands{};
         },
         1, 2, true},
        // Taken after the check read the list: its answer comes before the second send's.
        {"append taken late", "ACC", 1,
         [](Line& line, int send, const std::string& command, const std::string& reply) {
             if (send != 2) return Commands{reply};
             return Commands{Respond(*line.radio, command, 0), reply};
         },
         2, 2, true},
        {"append never heard", "ACC", kMostSends, passed, kMostSends, 1, false},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.what);
        RadioState radio(DemoScenario());
        Line line{&radio};
        std::string last;  // the last command sent
        PlanRunner write(PlanWrite(Backup(radio), edited));
        const test::Run run = Drive(
            write, radio,
            [&](int, const std::string& reply) {
                if (!starts(last, row.word)) return Commands{reply};
                return row.reply(line, line.seen, last, reply);
            },
            [&](const std::string& command) {
                last = command;
                if (!starts(command, row.word)) return false;
                return ++line.seen <= row.unheardSends;
            });
        EXPECT_EQ(run.end.outcome == MemoryOutcome::Finished, row.finished) << run.end.message;
        EXPECT_EQ(std::count_if(run.commands.begin(), run.commands.end(),
                                [&](const std::string& c) { return starts(c, row.word); }),
                  row.sends);
        EXPECT_EQ(std::count_if(run.commands.begin(), run.commands.end(),
                                [&](const std::string& c) { return starts(c, "DCH,"); }),
                  row.deletes);
        if (!row.finished) {
            EXPECT_EQ(run.end.message.rfind("No answer to ACC,", 0), 0u) << run.end.message;
            continue;
        }
        EXPECT_EQ(FirstDifference(edited, Backup(radio)), std::nullopt);
        EXPECT_EQ(write.Difference(), std::nullopt);
    }
}

// After a write, hit_intel.txt comes from the tree: the same bytes the
// harvest writes after reading the scanner.
TEST(MemoryEngines, HitIntelFromTheTreeIsWhatTheHarvestWrites) {
    RadioState radio(DemoScenario());
    const ScannerMemory memory = Backup(radio);
    Harvest harvest(0);
    HarvestStep step = harvest.Start();
    while (step.outcome == HarvestOutcome::Send) {
        harvest.OnReplyLine(Respond(radio, step.command, 0));
        step = harvest.OnNoReply();
    }
    ASSERT_EQ(step.outcome, HarvestOutcome::Finished);
    EXPECT_EQ(HitIntelFromMemory(memory), step.fileBytes);
}

}  // namespace
}  // namespace quorvane
