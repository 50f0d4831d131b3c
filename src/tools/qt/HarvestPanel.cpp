#include "tools/qt/HarvestPanel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <utility>

#include "app/qt/AppFiles.h"
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
    : QObject(parent), host_(std::move(host)), runner_(*host_.link, LineUser::Harvest, this) {
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

    // The scanner stays in programming mode until the user has read the news.
    runner_.KeepLineAfterFinish(true);
    connect(&runner_, &ProgramSessionRunner::Stepped, this, &HarvestPanel::Stepped);
    connect(&runner_, &ProgramSessionRunner::Ended, this,
            [this](const SessionStep&, ProgramSessionRunner::End how) { Ended(how); });
}

void HarvestPanel::SetDelayIndex(int index) { hit_intel_dly->setCurrentIndex(index); }

void HarvestPanel::hit_intel_Click() {
    host_.focusPicture1();
    if (runner_.Running()) {
        // Cancel: nothing more is sent; the walk ends at the reply under way.
        runner_.Cancel();
        return;
    }
    if (!host_.link->IsOpen()) {
        host_.note("Hit Run first");
        return;
    }
    // The line is the harvest's at once (polling stops); the walk starts
    // 600 ms later.
    harvest_ = std::make_unique<Harvest>(Harvest::ForDelayText(hit_intel_dly->currentText().toStdString()));
    if (const auto refusal = runner_.Start(*harvest_, kHarvestStartDelayMs);
        refusal != ProgramSessionRunner::Refusal::None) {
        harvest_.reset();
        host_.note(refusal == ProgramSessionRunner::Refusal::Busy ? "Scanner busy" : "Hit Run first");
        return;
    }
    busy_ = true;
    hit_intel->setText("Cancel");
    hit_intel_progress->clear();
}

void HarvestPanel::Abandon(bool linkStillOpen) {
    if (!busy_) return;
    // A walk under way has the scanner in programming mode: while the line
    // is still there, letting go of it tells the scanner to leave it.
    if (runner_.Running()) runner_.Abandon(linkStillOpen);
    else Lost(linkStillOpen);
}

void HarvestPanel::Stepped(const SessionStep& step, qint64 elapsedMs, double commandsPerSecond) {
    const HarvestProgress& progress = harvest_->Progress();
    if (progress.commands == 0) return;  // nothing sent yet
    const qint64 seconds = elapsedMs / 1000;
    hit_intel_progress->setText(QString("Found %1 systems, %2 groups, %3 channels - %4:%5 - %6 commands/s")
                                    .arg(progress.systems)
                                    .arg(progress.groups)
                                    .arg(progress.channels)
                                    .arg(seconds / 60)
                                    .arg(seconds % 60, 2, 10, QChar('0'))
                                    .arg(commandsPerSecond, 0, 'f', 1));
    if (step.outcome != HarvestOutcome::Wait && progress.channels > 0)
        host_.showDisplay(ScreenText(harvest_->FoundText()));
}

void HarvestPanel::Ended(ProgramSessionRunner::End how) {
    if (how == ProgramSessionRunner::End::Session) {
        const HarvestStep end = harvest_->Current();
        harvest_.reset();
        End(end);
        return;
    }
    Lost(how == ProgramSessionRunner::End::Abandoned);
}

void HarvestPanel::Lost(bool linkStillOpen) {
    harvest_.reset();
    Resume();
    if (!linkStillOpen) {
        host_.tell("The scanner went away during the hit intelligence update; hit_intel.txt was not changed.", {});
    }
}

void HarvestPanel::End(const HarvestStep& step) {
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
    runner_.Release();
}

}  // namespace quorvane
