#pragma once
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "memory/ChangeCheck.h"
#include "memory/MemoryEngine.h"
#include "memory/MemoryReader.h"
#include "memory/WritePlan.h"

namespace quorvane {

// Carries out a write plan (a restore, or the Memory tab's changes) and
// checks it by reading back.
//
// Command order: "PRG", the plan's commands in order (an append's reply
// gives the new record's index, used by the commands after it; "CLR" may
// take kClearWaitMs), then the read-back: a MemoryReader (without its "PRG")
// of everything after a "CLR", otherwise of every system's settings and the
// systems and groups the plan touched; the run finishes only when what is
// read equals the plan's edited memory (FirstDifference).
//
// An append answered "-1" (memory full) ends the run as failed, naming the
// record. An append's answer that comes late, after the same append was sent
// again, made a second, empty record: its index is deleted again (DSY, DGR
// or DCH) before the read-back. Then the settings that differ from the plan's
// read memory go out (SettingCommands, each answered "<word>,OK"), as the
// systems they name exist by then.
//
// A make or delete whose answer does not come in its wait (or that the line
// answers "FER"/"ORER") is not sent again blindly: the list it changes is
// read back (ChangeCheck). A delete whose record is gone was done; a make
// whose list holds a record the run does not know made it (two such records:
// it was done twice, and the second is deleted again). Only a change that
// did not happen is sent again, up to kMostSends sends. Its own answer
// coming in during that read is taken as it is.
//
// A trunked system made with CSY is read (SIN) at once: where the firmware
// made its frequency group itself, the plan's first site of that system
// takes that group (its GIN set names it) instead of an AGC; a group the
// plan has no site for is deleted again. Where the firmware made none, the
// AGC goes out as planned.
class PlanRunner : public MemoryEngine {
public:
    explicit PlanRunner(WritePlan plan);
    ~PlanRunner() override;

    // The edited memory with the scanner's index of every record, as far as
    // the run got (complete once Finished).
    const ScannerMemory& Result() const { return plan_.target; }
    // The memory read back (complete once Finished or a difference failed it).
    const ScannerMemory& ReadBack() const;
    // What the read-back found different (the run then Failed), as
    // FirstDifference says it; nothing otherwise.
    const std::optional<std::string>& Difference() const { return difference_; }

protected:
    MemoryStep Begin() override;
    MemoryStep Answer(const Reply& reply) override;
    std::string CancelMessage() const override;
    MemoryStep ChangeUnanswered() override;

private:
    enum class Phase { Programming, Steps, NewSystem, Orphans, Settings, ReadBack, Check };

    MemoryStep NextStep();
    MemoryStep StartReadBack();
    MemoryStep OnStepAnswer(const Reply& reply);
    // The answer to the step under way (its word checked), or what a check found.
    MemoryStep StepDone(const Reply& reply);
    MemoryStep OnCheck(const Reply& reply);
    MemoryStep Checked(MemoryStep inner);
    // The change the check was about is settled by `reply`.
    MemoryStep Settled(const Reply& reply);
    // Sends a command of the plan (a step, an orphan's delete).
    MemoryStep SendChange(std::string command, int waitMs = kMemoryReplyWaitMs);
    MemoryStep OnReadBack(const Reply& reply);
    MemoryStep Handle(MemoryStep inner);
    std::string Resolve(const PlanRef& ref) const;
    std::string CommandOf(const PlanStep& step) const;
    void Place(const TreePlace& place, const std::string& index);
    std::string PlaceText(const TreePlace& place) const;
    void NoteStray(const Reply& reply);
    // The progress counts of the writing (or clearing) stage.
    void ShowWritten();

    WritePlan plan_;
    Phase phase_ = Phase::Programming;
    std::size_t next_ = 0;              // plan step to send next
    std::vector<std::string> created_;  // index of each record the plan made
    std::set<std::string> known_;       // indexes answered to appends
    std::vector<std::string> orphans_;  // deletes of records made twice
    std::vector<std::string> settings_;  // setting commands still to send, last first
    bool settingsPlanned_ = false;
    std::size_t settingsDone_ = 0;
    std::size_t clears_ = 0;  // 1 when the plan starts with "CLR"
    // Frequency groups the firmware made with a new trunked system (by the
    // system's index), not yet taken for a site of the plan.
    std::map<std::string, std::string> firmwareSites_;
    std::unique_ptr<MemoryReader> reader_;
    // Indexes the run knows to be on the scanner (read, made, not deleted).
    std::set<std::string> present_;
    int changeSends_ = 0;  // sends of the change under way
    // The read-back of an unanswered make or delete, and the phase it stopped.
    ChangeCheck check_;
    Phase checkedPhase_ = Phase::Steps;
    std::unique_ptr<MemoryReader> checkReader_;
    std::optional<std::string> difference_;
};

}  // namespace quorvane
