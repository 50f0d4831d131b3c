// The poll cycle of the main window: ask the scanner for its status on every
// tick of Timer1, hand the replies to the monitor core and show what it says.
#include <QLineEdit>
#include <QPlainTextEdit>

#include "link/Commands.h"
#include "link/Fields.h"
#include "app/qt/AppFiles.h"
#include "window/Form1.h"
#include "tools/qt/HarvestPanel.h"
#include "history/qt/HistoryTab.h"
#include "window/LayoutSwitcher.h"
#include "app/qt/ScannerText.h"

namespace quorvane {
namespace {
constexpr int kNoReplyAfterMs = 3000;
const char* kCaption = "BC246T Quorvane";
}  // namespace

void Form1::LoadHitIntel() {
    if (const auto bytes = ReadFileBytes(JoinPath(appDirectory_, "hit_intel.txt"))) hitIntel_.LoadLines(*bytes);
}

void Form1::SendToScanner(const std::string& text) {
    if (!link_.IsOpen()) return;
    link_.SendCommand(text);
    pacer_.Sent(clock_.elapsed());
}

void Form1::Timer1_Timer() {
    // A key sequence or a harvest owns the line while it runs.
    if (!link_.IsOpen() || queue_.Busy() || harvest_->Busy()) return;
    // Nothing new is asked until the previous round is answered, so the
    // requests never pile up on a slow line.
    const auto round = pacer_.Tick(link_.BytesWaiting() > 0 ? link_.ReadAvailable() : std::string(), clock_.elapsed());
    TickOutcome outcome;
    if (round) {
        for (const char* request : {kStatusRequest, kTalkgroupRequest, kFrequencyRequest}) SendToScanner(request);
        outcome = poll_->Tick(*round, RecordAudioTicked());
    }
    if (!outcome.Accepted) {
        silentMs_ += Timer1.interval();
        if (silentMs_ > kNoReplyAfterMs && linkMessage_.isEmpty()) SetLinkMessage("No reply");
        return;
    }
    silentMs_ = 0;
    if (linkMessage_ == "No reply") SetLinkMessage({});
    ApplyTick(outcome);
    // Where a recording of the next hit begins is counted from here.
    if (!poll_->Hit().HitActive) quietTick_.start();
}

void Form1::ApplyTick(const TickOutcome& outcome) {
    for (const TickAction& action : outcome.Actions) {
        if (const auto* send = std::get_if<SendCommandAction>(&action)) {
            SendToScanner(send->Text);
        } else if (std::holds_alternative<StartRecordingAction>(action)) {
            StartRecording();
        } else if (const auto* show = std::get_if<ShowExtendedInfoAction>(&action)) {
            ExtendedInfoShow(show->Source);
        } else if (const auto* ended = std::get_if<HitEnded>(&action)) {
            if (ended->LogLine) AddLogLine(*ended->LogLine);
            history_->AddHit(*ended, ended->StopRecording ? StopRecording(ended->Names) : std::string());
        }
    }
    history_->Follow(poll_->Hit());
    const QString display = ScreenText(outcome.Text1);
    if (Text1->toPlainText() != display) Text1->setPlainText(display);
    floating_taskbar->setText(ScreenText(outcome.FloatingTaskbar));
    if (outcome.FreqBoxChanged || freq->text().isEmpty()) freq->setText(ScreenText(outcome.FreqBox));
    IconsSet1->setText(ScreenText(outcome.Icons.Row1));
    IconsSet2->setText(ScreenText(outcome.Icons.Row2));
    RefreshCaption(outcome.DisplayLine1, outcome.DisplayLine2);
}

void Form1::RefreshCaption(const std::string& line1, const std::string& line2) {
    if (isMinimized()) {
        // The taskbar shows the display while the window is minimized.
        const std::string second = RemoveAll(RemoveAll(line2, " \x82 "), "\x81");
        setWindowTitle(ScreenText(TrimBlanks(line1) + "/" + second));
        return;
    }
    if (windowTitle() == kCaption) return;
    setWindowTitle(kCaption);
    layout_->ReapplyFrame();
}

}  // namespace quorvane
