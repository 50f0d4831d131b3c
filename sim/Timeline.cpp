#include "Timeline.h"

namespace quorvane {

Timeline::Timeline(std::vector<ScanStep> steps, int scan_delay_ms, bool once, SimTime start)
    : steps_(std::move(steps)), scan_delay_(scan_delay_ms < 0 ? 0 : scan_delay_ms), once_(once),
      phase_start_(start) {
    for (std::size_t i = 0; i < steps_.size(); ++i) {
        if (steps_[i].duration_ms < 1) steps_[i].duration_ms = 1;
        cycle_ += steps_[i].duration_ms;
        if (steps_[i].view.receiving && !NextContinues(i)) cycle_ += scan_delay_;
    }
}

bool Timeline::NextContinues(std::size_t index) const {
    return index + 1 < steps_.size() && steps_[index + 1].continues;
}

std::size_t Timeline::GroupStart(std::size_t index) const {
    while (index > 0 && steps_[index].continues) --index;
    return index;
}

SimTime Timeline::PhaseLength() const {
    return phase_ == Phase::ScanDelay ? scan_delay_ : steps_[index_].duration_ms;
}

void Timeline::Update(SimTime now) {
    if (steps_.empty() || paused_ || finished_) return;
    // Far behind (e.g. a long gap between commands): skip whole passes, which
    // bring the scan back to the same place.
    if (!once_ && !held_ && cycle_ > 0 && now - phase_start_ > 2 * cycle_)
        phase_start_ += ((now - phase_start_) / cycle_ - 1) * cycle_;
    while (now >= phase_start_ + PhaseLength()) {
        if (!Advance(phase_start_ + PhaseLength())) return;
    }
}

bool Timeline::Advance(SimTime at) {
    if (phase_ == Phase::Step && steps_[index_].view.receiving && !NextContinues(index_) && scan_delay_ > 0) {
        phase_ = Phase::ScanDelay;
        phase_start_ = at;
        return true;
    }
    return MoveToNextStep(at);
}

bool Timeline::MoveToNextStep(SimTime at) {
    const std::size_t next = index_ + 1;
    const bool continues = next < steps_.size() && steps_[next].continues;
    if (held_ && !continues) return false;
    if (next < steps_.size()) {
        Enter(next, at);
    } else if (once_) {
        finished_ = true;
        return false;
    } else {
        Enter(0, at);
    }
    return true;
}

void Timeline::Enter(std::size_t index, SimTime at) {
    index_ = index;
    phase_ = Phase::Step;
    phase_start_ = at;
    ++entries_;
}

RadioView Timeline::View() const {
    if (steps_.empty()) return RadioView{};
    RadioView view = steps_[index_].view;
    if (phase_ == Phase::ScanDelay || finished_) {
        // The squelch is closed again: the transmission's level went with it.
        view.receiving = false;
        view.level.reset();
    }
    return view;
}

const ScanStep* Timeline::Current() const { return steps_.empty() ? nullptr : &steps_[index_]; }

void Timeline::Next(SimTime now) {
    if (steps_.empty() || finished_) return;
    std::size_t next = index_ + 1;
    while (next < steps_.size() && steps_[next].continues) ++next;
    if (next == steps_.size()) {
        if (once_) {
            finished_ = true;
            return;
        }
        next = 0;
    }
    Enter(next, now);
}

void Timeline::Previous(SimTime now) {
    if (steps_.empty()) return;
    std::size_t start;
    if (finished_) {
        start = GroupStart(steps_.size() - 1);
    } else {
        const std::size_t current = GroupStart(index_);
        if (current > 0) start = GroupStart(current - 1);
        else start = once_ ? 0 : GroupStart(steps_.size() - 1);
    }
    finished_ = false;
    Enter(start, now);
}

void Timeline::SetHeld(bool held, SimTime now) {
    if (held_ && !held && !steps_.empty()) {
        // A phase that ran out during the hold ends now, not back then.
        const SimTime scan_now = paused_ ? paused_at_ : now;
        if (phase_start_ + PhaseLength() < scan_now) phase_start_ = scan_now - PhaseLength();
    }
    held_ = held;
}

void Timeline::SetPaused(bool paused, SimTime now) {
    if (paused == paused_) return;
    if (paused) paused_at_ = now;
    else phase_start_ += now - paused_at_;
    paused_ = paused;
}

}  // namespace quorvane
