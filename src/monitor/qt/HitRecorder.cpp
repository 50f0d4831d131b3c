#include "monitor/qt/HitRecorder.h"

#include "app/qt/ScannerText.h"
#include "monitor/PreRoll.h"
#include "monitor/qt/Poller.h"

namespace quorvane {
namespace {
// A stalled input is opened again after this while (the sound server may
// still be letting go of the old stream).
constexpr int kReopenAfterMs = 500;
}  // namespace

HitRecorder::HitRecorder(Poller& poller, QObject* parent)
    : QObject(parent), poller_(poller), input_(this), rules_(input_) {
    rules_.SetPathMaker(ScannerNamePath);
    input_.SetOnStalled([this] {
        emit Note("Sound input stopped - reopening");
        QTimer::singleShot(kReopenAfterMs, this, [this] {
            Listen();
            if (!taps_.empty()) OpenTaps();
        });
    });
    // The indicator can change only with a poll tick or the box: it is
    // brought up to date at once after each, not looked at on a clock.
    Timer3.setObjectName("Timer3");
    Timer3.setParent(this);
    Timer3.setSingleShot(true);
    Timer3.setInterval(0);
    connect(&Timer3, &QTimer::timeout, this, &HitRecorder::Timer3_Timer);
    connect(&poller_, &Poller::Ticked, this, [this] {
        if (running_) Timer3_Timer();
    });
}

void HitRecorder::SetWanted(bool ticked) {
    wanted_ = ticked;
    Listen();
    if (running_) Timer3.start();
}

void HitRecorder::SetRunning(bool running) {
    running_ = running;
    if (running) {
        Timer3.start();
    } else {
        Timer3.stop();
    }
    Listen();
}

void HitRecorder::Listen() {
    // The input stays open, holding its last seconds, only while a hit may
    // need them: the link runs and "Record Audio" is ticked.
    Say(rules_.Listen(running_ && wanted_));
}

void HitRecorder::SetUp() { rules_.SetUp(); }

bool HitRecorder::OpenTaps() {
    if (taps_.empty()) return input_.SetBlockListener(nullptr);
    return input_.SetBlockListener([this](const std::int16_t* samples, qint64 frames, int rate, int channels) {
        // A tap may remove itself (or another) while it is told: walk a copy.
        const auto taps = taps_;
        for (const auto& [number, tap] : taps) tap(samples, frames, rate, channels);
    });
}

int HitRecorder::AddSoundTap(DefaultInputRecorder::BlockListener tap, bool* opened) {
    const int number = nextTap_++;
    taps_.emplace(number, std::move(tap));
    const bool open = OpenTaps();
    if (opened) *opened = open;
    return number;
}

void HitRecorder::RemoveSoundTap(int number) {
    if (taps_.erase(number) > 0) OpenTaps();
}

void HitRecorder::Reopen() {
    rules_.CloseInput();
    poller_.Cycle().ResetRecording();
    Listen();
}

void HitRecorder::Start(const std::string& folder) {
    const qint64 sinceQuiet = poller_.SinceQuietTickMs();
    Say(rules_.Start(folder, PreRollMs(poller_.Interval(), sinceQuiet < 0 ? kPreRollKeepMs : sinceQuiet)));
}

std::string HitRecorder::Stop(const RecordingNames& names, const std::string& launchDate, const std::string& folder) {
    Say(rules_.Stop(names, launchDate, folder));
    return rules_.SavedFileName();
}

void HitRecorder::Say(const std::optional<std::string>& message) {
    if (message) emit Tell(QString::fromStdString(*message));
}

void HitRecorder::Timer3_Timer() {
    // A hit that ended with the box unticked, or skipped after its recording
    // began, leaves its recording running: it is dropped here.
    if (rules_.DropIfHitOver(poller_.Hit())) poller_.Cycle().ResetRecording();
    emit Indicator(QString::fromStdString(IndicatorText(poller_.Hit().HitActive, wanted_)));
}

}  // namespace quorvane
