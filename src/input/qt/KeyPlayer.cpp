#include "input/qt/KeyPlayer.h"

#include "link/qt/ScannerLink.h"

namespace quorvane {

KeyPlayer::KeyPlayer(ScannerLink& link, QObject* parent) : QObject(parent), link_(link) {
    clock_.start();
    queueTimer_.setSingleShot(true);
    queueTimer_.setTimerType(Qt::PreciseTimer);
    connect(&queueTimer_, &QTimer::timeout, this, &KeyPlayer::Pump);
    // A harvest or memory programming took the line: the rest is dropped.
    connect(&link_, &ScannerLink::KeysDropped, this, &KeyPlayer::Clear);
}

bool KeyPlayer::Ready() {
    if (!link_.IsOpen()) {
        emit NotRunning("Hit Run first");
        return false;
    }
    // Held back silently while a harvest or memory programming owns the line.
    return link_.Ask(LineUser::Keys) == Grant::Go;
}

bool KeyPlayer::Click(const std::string& objectName) {
    const KeyRow* row = FindKey(objectName);
    if (!row) return false;
    if (row->stopsQuickScan) emit QuickScanStopped();
    if (!Ready()) return false;
    std::string macroText;
    if (row->kind == KeyKind::Macro && macroText_) macroText = macroText_(row->macroNumber);
    const KeyClick click = pad_.Click(objectName, macroText);
    if (!click.error.empty()) {
        emit Tell(QString::fromStdString(click.error));
        Pump();
        return false;
    }
    if (click.picture) emit Latched(QString::fromStdString(objectName), *click.picture == KeyPicture::Pressed);
    queue_.Enqueue(click.steps);
    Pump();
    return true;
}

bool KeyPlayer::Play(const std::vector<Step>& steps) {
    if (!Ready()) return false;
    queue_.Enqueue(steps);
    Pump();
    return true;
}

void KeyPlayer::Pump() {
    for (const std::string& text : queue_.Pump(clock_.elapsed())) link_.Send(LineUser::Keys, text);
    if (const auto wake = queue_.NextWakeMs()) {
        queueTimer_.start(static_cast<int>(std::max<int64_t>(0, *wake - clock_.elapsed())));
    } else {
        link_.Release(LineUser::Keys);
    }
}

void KeyPlayer::Clear() {
    queue_.Clear();
    queueTimer_.stop();
    link_.Release(LineUser::Keys);
}

}  // namespace quorvane
