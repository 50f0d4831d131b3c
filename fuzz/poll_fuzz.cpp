// The poll tick fed one read per piece through the line's ledger, as the window does:
// "k" a key command sent between ticks, "w" a second passing, "a" the
// "Record Audio" box toggled, "d" + bytes handed to the poll cycle directly;
// any other piece is what a tick reads (its first byte dropped).
#include "FuzzInput.h"
#include "link/LineLedger.h"
#include "monitor/PollCycle.h"

using namespace quorvane;

namespace {
struct FixedClock : Clock {
    std::string TimeOfDayText() override { return "2:51:13 PM"; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const HitIntelTable table = [] {
        HitIntelTable t;
        t.LoadLines("01544300\tDispatch 1\tFire\tCounty\r\n08552375\tOps\tPolice\tMetro\r\n");
        return t;
    }();
    static const SkipList skips = [] {
        SkipList s;
        s.SetEntry(0, "01625500");
        s.SetEntry(1, "12345");
        return s;
    }();
    FixedClock clock;
    PollCycle cycle(table, skips, clock, "01-02-2027");
    LineLedger ledger;
    int64_t now = 0;
    bool record = false;
    for (const std::string& piece : fuzz::Pieces(data, size)) {
        const char kind = piece.empty() ? 'r' : piece[0];
        const std::string rest = piece.empty() ? piece : piece.substr(1);
        if (kind == 'k') {
            ledger.Written("KEY,5,P", now);
            continue;
        }
        if (kind == 'w') now += 1000;
        if (kind == 'a') record = !record;
        if (kind == 'd') {
            cycle.Tick(rest, record);
            continue;
        }
        now += 100;
        ledger.Received(rest, now);
        const auto round = ledger.TakeRound(now);
        fuzz::Require(ledger.Owed() >= 0);
        if (!round) continue;
        // A round handed on is whole lines: it never stops inside one.
        fuzz::Require(round->empty() || round->back() == '\r');
        for (const char* request : {"STS", "GID", "WIN"}) ledger.Written(request, now);
        const TickOutcome outcome = cycle.Tick(*round, record);
        for (const TickAction& action : outcome.Actions) {
            if (const auto* send = std::get_if<SendCommandAction>(&action)) ledger.Written(send->Text, now);
        }
    }
    return 0;
}
