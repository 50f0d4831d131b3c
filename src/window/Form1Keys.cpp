// The keypad of the main window: every key's click runs the steps the key
// table gives it through one queue, so waits keep their spacing on the wire
// while the window goes on painting.
#include <QLineEdit>

#include "window/Form1.h"
#include "tools/qt/HarvestPanel.h"
#include "input/qt/KeyButton.h"
#include "app/qt/ScannerText.h"
#include "tools/qt/TunerTab.h"

namespace quorvane {

bool Form1::ReadyForKeys() {
    if (!link_.IsOpen()) {
        SetText3Base("Hit Run first");
        return false;
    }
    // Keys, macros and tuning are held back while a harvest owns the line.
    return !harvest_->Busy();
}

void Form1::ClickKey(const std::string& objectName) {
    if (!ReadyForKeys()) return;
    const KeyRow* row = FindKey(objectName);
    if (!row) return;
    std::string macroText;
    if (row->kind == KeyKind::Macro && row->macroNumber >= 1 && row->macroNumber <= 3 && m[row->macroNumber - 1]) {
        macroText = BytesFromScreen(m[row->macroNumber - 1]->text());
    }
    const KeyClick click = keyPad_.Click(objectName, macroText);
    if (!click.error.empty()) {
        Tell(QString::fromStdString(click.error));
        return;
    }
    if (click.picture) {
        if (auto it = keys_.find(objectName); it != keys_.end()) {
            it->second->SetLatched(*click.picture == KeyPicture::Pressed);
        }
    }
    if (click.stopsQuickScan) tuner_->StopQuickScan();
    RunSteps(click.steps);
}

void Form1::RunSteps(const std::vector<Step>& steps) {
    if (steps.empty()) return;
    queue_.Enqueue(steps);
    PumpQueue();
}

void Form1::PumpQueue() {
    for (const std::string& text : queue_.Pump(clock_.elapsed())) SendToScanner(text);
    if (const auto wake = queue_.NextWakeMs()) {
        queueTimer_.start(static_cast<int>(std::max<int64_t>(0, *wake - clock_.elapsed())));
    }
}

}  // namespace quorvane
