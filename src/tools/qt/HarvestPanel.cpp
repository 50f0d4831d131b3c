#include "tools/qt/HarvestPanel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <utility>

#include "app/qt/AppFiles.h"
#include "link/Commands.h"
#include "app/qt/Controls.h"
#include "link/qt/ScannerLink.h"
#include "app/qt/ScannerText.h"
#include "app/qt/Twips.h"
#include "app/SettingsFiles.h"

namespace quorvane {
namespace {
const char* kHarvestDelays[] = {"25",  "50",  "100", "200", "250", "300", "350",  "400",
                                "450", "500", "600", "700", "800", "900", "1000", "2000",
                                kAutoDelayText};
const char* kHarvestCaption = "Update Hit Inteligence";
constexpr int kHarvestStartDelayMs = 600;
}  // namespace

HarvestPanel::HarvestPanel(QGroupBox* frame, HarvestHost host, QObject* parent)
    : QObject(parent), host_(std::move(host)) {
    hit_intel = NewControl<QPushButton>(frame, "hit_intel", TwipsRect(150, 1560, 2100, 400), kHarvestCaption);
    connect(hit_intel, &QPushButton::clicked, this, &HarvestPanel::hit_intel_Click);

    NewControl<QLabel>(frame, "Label_hit_intel_dly", TwipsRect(2400, 1290, 1100, 270), "Delay ms:");
    hit_intel_dly = NewControl<QComboBox>(frame, "hit_intel_dly", TwipsRect(2400, 1575, 1050, 360));
    for (const char* delay : kHarvestDelays) hit_intel_dly->addItem(delay);
    hit_intel_dly->setAccessibleName("Harvest delay ms");
    hit_intel_dly->setCurrentIndex(kDefaultDelayIndex);
    connect(hit_intel_dly, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) host_.delayChosen(index);
    });

    hit_intel_progress = NewControl<QLabel>(frame->parentWidget(), "hit_intel_progress", TwipsRect(4200, 2580, 7100, 300));

    Timer2.setObjectName("Timer2");
    Timer2.setSingleShot(true);
    Timer2.setInterval(kHarvestStartDelayMs);
    connect(&Timer2, &QTimer::timeout, this, &HarvestPanel::Timer2_Timer);
    drainTimer_.setSingleShot(true);
    drainTimer_.setTimerType(Qt::PreciseTimer);
    connect(&drainTimer_, &QTimer::timeout, this, &HarvestPanel::DrainReply);
    connect(host_.link, &ScannerLink::Received, this, &HarvestPanel::BytesArrived);
}

void HarvestPanel::SetDelayIndex(int index) { hit_intel_dly->setCurrentIndex(index); }

void HarvestPanel::hit_intel_Click() {
    host_.focusPicture1();
    if (harvest_ || Timer2.isActive()) {
        // Cancel: nothing more is sent; the walk ends at the reply under way.
        Timer2.stop();
        if (!harvest_) {
            Resume();
            host_.tell(kHarvestCancelledMessage, {});
            return;
        }
        End(harvest_->Cancel());
        return;
    }
    if (!host_.link->IsOpen()) {
        host_.note("Hit Run first");
        return;
    }
    // The line is the harvest's at once (polling stops); the walk starts
    // 600 ms later.
    if (host_.link->Ask(LineUser::Harvest) != Grant::Go) {
        host_.note("Scanner busy");
        return;
    }
    harvest_.reset();
    busy_ = true;
    hit_intel->setText("Cancel");
    hit_intel_progress->clear();
    Timer2.start();
}

void HarvestPanel::Abandon(bool linkStillOpen) {
    if (!busy_) return;
    // A walk under way has the scanner in programming mode: while the line
    // is still there, letting go of it tells the scanner to leave it.
    Timer2.stop();
    StopWalk();
    Resume();
    if (!linkStillOpen) {
        host_.tell("The scanner went away during the hit intelligence update; hit_intel.txt was not changed.", {});
    }
}

void HarvestPanel::Timer2_Timer() {
    harvest_ = std::make_unique<Harvest>(Harvest::ForDelayText(hit_intel_dly->currentText().toStdString()));
    elapsed_.start();
    RunStep(harvest_->Start());
}

void HarvestPanel::RunStep(const HarvestStep& step) {
    ShowProgress(step.progress);
    if (step.outcome != HarvestOutcome::Send) {
        End(step);
        return;
    }
    reply_.clear();
    host_.link->Send(LineUser::Harvest, step.command);
    drainTimer_.start(step.waitMs);
}

void HarvestPanel::BytesArrived() {
    if (!harvest_ || !drainTimer_.isActive()) return;
    reply_ += host_.link->TakeReceived();
    if (!harvest_->ReplyComplete(reply_)) return;
    drainTimer_.stop();
    DrainReply();
}

void HarvestPanel::DrainReply() {
    if (!harvest_) return;
    const std::string reply = std::exchange(reply_, {}) + host_.link->TakeReceived();
    const HarvestStep step = harvest_->OnReply(reply);
    if (step.progress.channels > 0) host_.showDisplay(ScreenText(harvest_->FoundText()));
    RunStep(step);
}

void HarvestPanel::ShowProgress(const HarvestProgress& progress) {
    const qint64 ms = elapsed_.isValid() ? elapsed_.elapsed() : 0;
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

void HarvestPanel::StopWalk() {
    harvest_.reset();
    drainTimer_.stop();
    reply_.clear();
}

void HarvestPanel::End(const HarvestStep& step) {
    StopWalk();
    if (step.outcome != HarvestOutcome::Finished) {
        Resume();
        host_.tell(QString::fromStdString(step.message), {});
        return;
    }
    hit_intel_progress->setText(hit_intel_progress->text() + "  " + kHarvestDoneCaption);
    host_.showDisplay(kHarvestDoneCaption);
    QString error;
    if (!WriteFileAtomically(JoinPath(host_.appDirectory, "hit_intel.txt"), step.fileBytes, &error)) {
        Resume();
        host_.tell(QString("hit_intel.txt cannot be written (%1); the old table stays in use.").arg(error), {});
        return;
    }
    host_.tableWritten();
    // The scanner stays in programming mode until the user has read the news.
    hit_intel->setEnabled(false);
    host_.tell(QString::fromStdString(step.message), [this] {
        hit_intel->setEnabled(true);
        Resume();
    });
}

void HarvestPanel::Resume() {
    busy_ = false;
    hit_intel->setText(kHarvestCaption);
    // The line's owner sends "EPG" when the harvest had the scanner in
    // Program Mode.
    host_.link->Release(LineUser::Harvest);
}

}  // namespace quorvane
