// The whole input as alerts.txt, matched against hits made of its pieces
// (five a hit: system, group, channel, frequency digits, talkgroup ID) and
// against the log rows of its last piece; each alert is shaped for every web
// hook the list names, and the input's bytes are heard as audio for its
// tone pages.
#include "FuzzInput.h"
#include "alerts/AlertLatch.h"
#include "alerts/AlertText.h"
#include "alerts/ToneDetector.h"
#include "alerts/WebHook.h"

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
        const AlertFacts facts = FactsOfAlert(DescribeAlert(hit), hit, "watched channel", "t");
        for (const std::string& url : list.Hooks()) {
            const HookRequest request = MakeHookRequest(url, facts);
            fuzz::Require(request.kind == KindOfHook(url));
            // What is shown of a hook never holds its query (Pushover's keys).
            fuzz::Require(HookShownName(url).find('?') == std::string::npos);
        }
    }
    if (!list.Tones().empty()) {
        ToneDetector detector(list.Tones());
        const auto* samples = reinterpret_cast<const std::int16_t*>(data);
        const std::int64_t frames = static_cast<std::int64_t>(size / 2);
        for (const int rate : {8000, 44100}) {
            for (const size_t page : detector.Feed(samples, frames, rate, 1)) fuzz::Require(page < list.Tones().size());
        }
    }
    // The last piece as log lines, each matched as its row.
    for (std::string_view rest = pieces.back(); !rest.empty();) {
        const size_t end = rest.find("\r\n");
        const std::string_view line = rest.substr(0, end == std::string_view::npos ? end : end + 2);
        list.Matches(SubjectOfLogRow(LogRowOf(line)));
        rest.remove_prefix(line.size());
    }
    return 0;
}
