// The harvest's ties to the window: the link, the poll that rests while it
// runs, the display, the hit-intelligence table and messages.
#include <QGroupBox>
#include <QPlainTextEdit>

#include "link/Commands.h"
#include "window/Form1.h"
#include "tools/qt/HarvestPanel.h"

namespace quorvane {

void Form1::BuildHarvestControls(QGroupBox* frame) {
    HarvestHost host;
    host.link = &link_;
    host.appDirectory = appDirectory_;
    host.holdPolling = [this] { SetLinkMessage("Harvest running"); };
    host.resumePolling = [this](bool leaveProgramming) {
        if (linkMessage_ == "Harvest running") SetLinkMessage({});
        pacer_.Reset();
        if (leaveProgramming) SendToScanner(kExitProgramming);
        silentMs_ = 0;
    };
    host.showDisplay = [this](const QString& text) { Text1->setPlainText(text); };
    host.tell = [this](const QString& text, std::function<void()> onClosed) { Tell(text, std::move(onClosed)); };
    host.note = [this](const QString& text) { Note(text); };
    host.tableWritten = [this] { LoadHitIntel(); };
    host.focusPicture1 = [this] { FocusPicture1(); };
    host.delayChosen = [this](int index) { pgm_.delayIndex = index; };
    harvest_ = new HarvestPanel(frame, std::move(host), this);
}

}  // namespace quorvane
