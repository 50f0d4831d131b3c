// The Tuner tab's ties to the window: the link, the hit being followed, the
// skip list the poll cycle reads, the harvest, messages and the focus.
#include <QTabWidget>

#include "window/Form1.h"
#include "tools/qt/HarvestPanel.h"
#include "tools/qt/TunerTab.h"

namespace quorvane {

QWidget* Form1::BuildTunerTab() {
    TunerHost host;
    host.tune = [this](const std::string& command) {
        if (ReadyForKeys()) RunSteps({Step::Send(command)});
    };
    host.step = [this](const std::string& command) { SendToScanner(command); };
    host.hitActive = [this] { return poll_ && poll_->Hit().HitActive; };
    host.harvestBusy = [this] { return harvest_->Busy(); };
    host.tell = [this](const QString& text, std::function<void()> onClosed) { Tell(text, std::move(onClosed)); };
    host.note = [this](const QString& text) { Note(text); };
    host.focusPicture1 = [this] { FocusPicture1(); };
    host.openUrl = [this](const QString& address) { return OpenUrl(address); };
    host.skipList = &skipList_;
    tuner_ = new TunerTab(std::move(host), SSTab1);
    return tuner_;
}

}  // namespace quorvane
