// The whole input as alerts.txt, matched against hits made of its pieces
// (five a hit: system, group, channel, frequency digits, talkgroup ID) and
// against the log rows of its last piece.
#include "FuzzInput.h"
#include "alerts/AlertLatch.h"
#include "alerts/AlertText.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> pieces = fuzz::Pieces(data, size, 64);
    const AlertList list = AlertList::Parse(std::string(reinterpret_cast<const char*>(data), size));
    AlertLatch latch;
    for (size_t i = 1; i + 5 <= pieces.size(); i += 5) {
        LiveHit hit{pieces[i], pieces[i + 1], pieces[i + 2], pieces[i + 3], pieces[i + 3], pieces[i + 4]};
        hit.TrunkedHit = !hit.TalkgroupId.empty();
        TickOutcome tick;
        tick.Actions.push_back(HitStarted{hit});
        tick.Actions.push_back(HitRenamed{hit});
        const std::optional<LiveHit> alert = latch.Follow(tick, list);
        fuzz::Require(alert.has_value() == list.Matches(SubjectOfHit(hit)));
        fuzz::Require(!DescribeAlert(hit).Summary.empty());
    }
    for (const LogGridRow& row : LogGridFill(pieces.back())) list.Matches(SubjectOfLogRow(row));
    return 0;
}
