// "Update Hit Inteligence": the walk of the scanner's stored systems, groups
// and channels into hit_intel.txt. Polling stops for its duration; each
// command is followed by a wait of the chosen delay on a timer, so the window
// keeps painting and the harvest can be cancelled. At "Auto" the link reports
// incoming bytes and the wait ends as soon as the reply has come in whole.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "link/Commands.h"
#include "ui/AppFiles.h"
#include "ui/Controls.h"
#include "ui/Form1.h"
#include "ui/ScannerText.h"
#include "ui/Twips.h"
#include "tools/HitDelay.h"

#include <utility>

namespace quorvane {
namespace {
const char* kHarvestDelays[] = {"25",  "50",  "100", "200", "250", "300", "350",  "400",
                                "450", "500", "600", "700", "800", "900", "1000", "2000",
                                kAutoDelayText};
const char* kHarvestCaption = "Update Hit Inteligence";
constexpr int kHarvestStartDelayMs = 600;
}  // namespace

void Form1::BuildHarvestControls(QGroupBox* frame) {
    hit_intel = NewControl<QPushButton>(frame, "hit_intel", TwipsRect(150, 1560, 2100, 400), kHarvestCaption);
    connect(hit_intel, &QPushButton::clicked, this, &Form1::hit_intel_Click);

    NewControl<QLabel>(frame, "Label_hit_intel_dly", TwipsRect(2400, 1290, 1100, 270), "Delay ms:");
    hit_intel_dly = NewControl<QComboBox>(frame, "hit_intel_dly", TwipsRect(2400, 1575, 1050, 360));
    for (const char* delay : kHarvestDelays) hit_intel_dly->addItem(delay);
    hit_intel_dly->setCurrentIndex(kDefaultDelayIndex);
    connect(hit_intel_dly, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) pgm_.delayIndex = index;
    });

    hit_intel_progress = NewControl<QLabel>(frame->parentWidget(), "hit_intel_progress", TwipsRect(4200, 2280, 7000, 300));

    Timer2.setObjectName("Timer2");
    Timer2.setSingleShot(true);
    Timer2.setInterval(kHarvestStartDelayMs);
    connect(&Timer2, &QTimer::timeout, this, &Form1::Timer2_Timer);
    harvestDrainTimer_.setSingleShot(true);
    harvestDrainTimer_.setTimerType(Qt::PreciseTimer);
    connect(&harvestDrainTimer_, &QTimer::timeout, this, &Form1::DrainHarvestReply);
    connect(&link_, &ScannerLink::Incoming, this, &Form1::HarvestBytesArrived);
}

void Form1::hit_intel_Click() {
    FocusPicture1();
    if (harvest_ || Timer2.isActive()) {
        // Cancel: nothing more is sent; the walk ends at the reply under way.
        Timer2.stop();
        if (!harvest_) {
            ResumeAfterHarvest(false);
            Tell(kHarvestCancelledMessage);
            return;
        }
        EndHarvest(harvest_->Cancel());
        return;
    }
    if (!link_.IsOpen()) {
        SetText3Base("Hit Run first");
        return;
    }
    // Polling stops at once; the walk starts 600 ms later.
    harvest_.reset();
    harvestBusy_ = true;
    hit_intel->setText("Cancel");
    SetLinkMessage("Harvest running");
    hit_intel_progress->clear();
    Timer2.start();
}

void Form1::Timer2_Timer() {
    harvest_ = std::make_unique<Harvest>(Harvest::ForDelayText(hit_intel_dly->currentText().toStdString()));
    harvestElapsed_.start();
    const HarvestStep first = harvest_->Start();
    link_.WatchIncoming(first.untilReply);
    RunHarvestStep(first);
}

void Form1::RunHarvestStep(const HarvestStep& step) {
    ShowHarvestProgress(step.progress);
    if (step.outcome != HarvestOutcome::Send) {
        EndHarvest(step);
        return;
    }
    harvestReply_.clear();
    link_.SendCommand(step.command);
    harvestDrainTimer_.start(step.waitMs);
}

void Form1::HarvestBytesArrived() {
    if (!harvest_ || !harvestDrainTimer_.isActive()) return;
    while (link_.BytesWaiting() != 0) harvestReply_ += link_.ReadAvailable();
    if (!harvest_->ReplyComplete(harvestReply_)) return;
    harvestDrainTimer_.stop();
    DrainHarvestReply();
}

void Form1::DrainHarvestReply() {
    if (!harvest_) return;
    std::string reply = std::exchange(harvestReply_, {});
    while (link_.BytesWaiting() != 0) reply += link_.ReadAvailable();
    const HarvestStep step = harvest_->OnReply(reply);
    if (step.progress.channels > 0) Text1->setPlainText(ScreenText(harvest_->FoundText()));
    RunHarvestStep(step);
}

void Form1::ShowHarvestProgress(const HarvestProgress& progress) {
    const qint64 ms = harvestElapsed_.isValid() ? harvestElapsed_.elapsed() : 0;
    const qint64 seconds = ms / 1000;
    const double perSecond = ms > 0 ? 1000.0 * progress.commands / static_cast<double>(ms) : 0.0;
    hit_intel_progress->setText(QString("Found %1 systems, %2 groups, %3 channels - %4:%5 - %6 commands/s")
                                    .arg(progress.systems)
                                    .arg(progress.groups)
                                    .arg(progress.channels)
                                    .arg(seconds / 60)
                                    .arg(seconds % 60, 2, 10, QChar('0'))
                                    .arg(perSecond, 0, 'f', 1));
}

void Form1::StopHarvestWalk() {
    harvest_.reset();
    harvestDrainTimer_.stop();
    harvestReply_.clear();
    link_.WatchIncoming(false);
}

void Form1::EndHarvest(const HarvestStep& step) {
    StopHarvestWalk();
    if (step.outcome != HarvestOutcome::Finished) {
        ResumeAfterHarvest(step.leaveProgramming);
        Tell(QString::fromStdString(step.message));
        return;
    }
    hit_intel_progress->setText(hit_intel_progress->text() + "  " + kHarvestDoneCaption);
    Text1->setPlainText(kHarvestDoneCaption);
    const QString path = JoinPath(appDirectory_, "hit_intel.txt");
    QString error;
    if (!WriteFileAtomically(path, step.fileBytes, &error)) {
        ResumeAfterHarvest(step.leaveProgramming);
        Tell(QString("hit_intel.txt cannot be written (%1); the old table stays in use.").arg(error));
        return;
    }
    LoadHitIntel();
    // The scanner stays in programming mode until the user has read the news.
    hit_intel->setEnabled(false);
    Tell(QString::fromStdString(step.message), [this, leave = step.leaveProgramming] {
        hit_intel->setEnabled(true);
        ResumeAfterHarvest(leave);
    });
}

void Form1::ResumeAfterHarvest(bool leaveProgramming) {
    harvestBusy_ = false;
    hit_intel->setText(kHarvestCaption);
    if (linkMessage_ == "Harvest running") SetLinkMessage({});
    pacer_.Reset();
    if (leaveProgramming) SendToScanner(kExitProgramming);
    silentMs_ = 0;
}

}  // namespace quorvane
