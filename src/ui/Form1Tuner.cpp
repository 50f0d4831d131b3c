// The Tuner tab's ties to the window: the link, the hit being followed, the
// skip list the poll cycle reads, the harvest, messages and the focus.
#include <QTabWidget>

#include "ui/Form1.h"
#include "ui/TunerTab.h"

namespace quorvane {
namespace {
// A note in Text3 gives way to the indicator again after this long.
constexpr int kNoteMs = 5000;
}  // namespace

QWidget* Form1::BuildTunerTab() {
    TunerHost host;
    host.tune = [this](const std::string& command) {
        if (ReadyForKeys()) RunSteps({Step::Send(command)});
    };
    host.step = [this](const std::string& command) { SendToScanner(command); };
    host.hitActive = [this] { return poll_ && poll_->Hit().HitActive; };
    host.harvestBusy = [this] { return harvestBusy_; };
    host.tell = [this](const QString& text, std::function<void()> onClosed) { Tell(text, std::move(onClosed)); };
    host.note = [this](const QString& text) {
        // While stopped Text3 holds it; while running it stands in front of
        // the indicator for a while, unless the link has news of its own.
        if (!running_) return SetText3Base(text);
        if (!linkMessage_.isEmpty()) return;
        SetLinkMessage(text);
        QTimer::singleShot(kNoteMs, this, [this, text] {
            if (linkMessage_ == text) SetLinkMessage({});
        });
    };
    host.focusPicture1 = [this] { FocusPicture1(); };
    host.openUrl = [this](const QString& address) { return OpenUrl(address); };
    host.skipList = &skipList_;
    tuner_ = new TunerTab(std::move(host), SSTab1);
    return tuner_;
}

}  // namespace quorvane
