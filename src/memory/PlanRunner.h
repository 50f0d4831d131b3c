#pragma once
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

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

private:
    enum class Phase { Programming, Steps, NewSystem, Orphans, Settings, ReadBack };

    MemoryStep NextStep();
    MemoryStep StartReadBack();
    MemoryStep OnStepAnswer(const Reply& reply);
    MemoryStep OnReadBack(const Reply& reply);
    MemoryStep Handle(MemoryStep inner);
    std::string Resolve(const PlanRef& ref) const;
    std::string CommandOf(const PlanStep& step) const;
    void Place(const TreePlace& place, const std::string& index);
    std::string PlaceText(const TreePlace& place) const;
    void NoteStray(const Reply& reply);

    WritePlan plan_;
    Phase phase_ = Phase::Programming;
    std::size_t next_ = 0;              // plan step to send next
    std::vector<std::string> created_;  // index of each record the plan made
    std::set<std::string> known_;       // indexes answered to appends
    std::vector<std::string> orphans_;  // deletes of records made twice
    std::vector<std::string> settings_;  // setting commands still to send, last first
    bool settingsPlanned_ = false;
    // Frequency groups the firmware made with a new trunked system (by the
    // system's index), not yet taken for a site of the plan.
    std::map<std::string, std::string> firmwareSites_;
    std::unique_ptr<MemoryReader> reader_;
    std::optional<std::string> difference_;
};

}  // namespace quorvane
