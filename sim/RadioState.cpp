#include "RadioState.h"

namespace quorvane {
namespace {

// Icon flag positions (0-based) of row 1 and row 2.
constexpr std::size_t kKeypadLockIcon = 13;
constexpr std::size_t kAmIcon = 11;
constexpr std::size_t kNarrowIcon = 12;
constexpr std::size_t kFmIcon = 13;

}  // namespace

std::string FrequencyText(const std::string& digits) {
    if (digits.size() != 8 || digits.find_first_not_of("0123456789") != std::string::npos) return digits;
    std::string whole = digits.substr(0, 4);
    whole.erase(0, whole.find_first_not_of('0'));
    if (whole.empty()) whole = "0";
    return whole + "." + digits.substr(4);
}

RadioState::RadioState(const Scenario& scenario, SimTime start)
    : timeline_(scenario.steps, scenario.scan_delay_ms, scenario.once, start), memory_(scenario.systems, scenario.memory_capacity, scenario.firmware_trunk_groups) {}

void RadioState::UpdatePause(SimTime now) { timeline_.SetPaused(programming_ || tuned_.has_value(), now); }

RadioView RadioState::View(SimTime now) {
    timeline_.Update(now);
    if (programming_) {
        RadioView view;
        view.line1 = kRemoteModeLine;
        view.line2 = kKeypadLockLine;
        view.icons1[kKeypadLockIcon] = '1';
        view.frequency = tuned_ ? tuned_->digits : timeline_.View().frequency;
        return view;
    }
    if (override_) return *override_;
    if (tuned_) return TunedView();
    RadioView view = timeline_.View();
    const ScanStep* step = timeline_.Current();
    if (step && step->prompt && !timeline_.Finished() && prompt_answered_ != timeline_.Entries())
        view.line2 = kPressAnyKey;
    return view;
}

RadioView RadioState::TunedView() const {
    RadioView view;
    view.line1 = PadLine("  " + FrequencyText(tuned_->digits) + " MHz");
    view.line2 = PadLine("  " + (tuned_->modulation.empty() ? std::string("AUTO") : tuned_->modulation));
    view.frequency = tuned_->digits;
    if (tuned_->modulation == "AM") view.icons2[kAmIcon] = '1';
    if (tuned_->modulation == "NFM") view.icons2[kNarrowIcon] = '1';
    if (tuned_->modulation == "NFM" || tuned_->modulation == "FM") view.icons2[kFmIcon] = '1';
    return view;
}

void RadioState::PressKey(char key, SimTime now) {
    timeline_.Update(now);
    if (programming_) return;  // the keypad is locked
    const bool scanning = !tuned_.has_value();
    switch (key) {
    case '>':
        if (scanning) timeline_.Next(now);
        break;
    case '<':
        if (scanning) timeline_.Previous(now);
        break;
    case 'H':
        if (scanning) timeline_.SetHeld(!timeline_.Held(), now);
        break;
    case 'S':
        tuned_.reset();
        UpdatePause(now);
        timeline_.SetHeld(false, now);
        break;
    case 'E':
        prompt_answered_ = timeline_.Entries();
        break;
    default:
        break;
    }
}

void RadioState::Tune(const std::string& digits, const std::string& modulation, SimTime now) {
    timeline_.Update(now);
    tuned_ = Tuning{digits, modulation};
    UpdatePause(now);
}

void RadioState::SetProgramming(bool on, SimTime now) {
    timeline_.Update(now);
    // Leaving Program Mode, the radio stays on Scan Hold until the Scan key.
    if (programming_ && !on) timeline_.SetHeld(true, now);
    programming_ = on;
    UpdatePause(now);
}

}  // namespace quorvane
