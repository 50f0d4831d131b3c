#include "alerts/AlertLatch.h"

namespace quorvane {

std::optional<LiveHit> AlertLatch::Follow(const TickOutcome& outcome, const AlertList& list) {
    std::optional<LiveHit> alert;
    for (const TickAction& action : outcome.Actions) {
        const LiveHit* hit = nullptr;
        if (const auto* started = std::get_if<HitStarted>(&action)) {
            alerted_ = false;
            hit = &started->Hit;
        } else if (const auto* renamed = std::get_if<HitRenamed>(&action)) {
            hit = &renamed->Hit;
        } else if (std::holds_alternative<HitEnded>(action)) {
            alerted_ = false;
        }
        if (!hit || alerted_ || hit->Skipped || !list.Matches(SubjectOfHit(*hit))) continue;
        alerted_ = true;
        alert = *hit;
    }
    return alert;
}

}  // namespace quorvane
