// Recording the hits from the sound input: the "Record Audio" box, the
// indicator in Text3 while the link runs, and the recorder behind them.
#include <QCheckBox>

#include "monitor/LogText.h"
#include "monitor/PreRoll.h"
#include "monitor/Recording.h"
#include "monitor/qt/AudioRecorder.h"
#include "app/qt/AppFiles.h"
#include "app/qt/Controls.h"
#include "window/Form1.h"
#include "app/qt/ScannerText.h"
#include "app/qt/Twips.h"

namespace quorvane {
namespace {
// Text3 follows the hit this often while the link runs.
constexpr int kIndicatorIntervalMs = 50;
}  // namespace

// A child of the window, so that the input is released when the window goes.
struct Form1::Recorder : QObject {
    explicit Recorder(QObject* parent) : QObject(parent), rules(input) { rules.SetPathMaker(ScannerNamePath); }
    DefaultInputRecorder input;
    HitRecording rules;
};

void Form1::BuildRecordingControls(QWidget* frame) {
    RecordAudioCheck = NewControl<QCheckBox>(frame, "RecordAudioCheck", TwipsRect(150, 690, 2400, 300), "Record Audio");
    connect(RecordAudioCheck, &QCheckBox::toggled, this, [this](bool ticked) {
        pgm_.recordAudio = ticked ? 1 : 0;
        UpdateListening();
    });
    connect(RecordAudioCheck, &QCheckBox::clicked, this, &Form1::FocusPicture1);

    recorder_ = new Recorder(this);
    Timer3.setObjectName("Timer3");
    Timer3.setInterval(kIndicatorIntervalMs);
    connect(&Timer3, &QTimer::timeout, this, &Form1::Timer3_Timer);
}

bool Form1::RecordAudioTicked() const { return RecordAudioCheck && RecordAudioCheck->isChecked(); }

void Form1::StartRecording() {
    const std::string folder = LogFolderBytes(pgm_.logDirectory, appDirectory_);
    if (const auto message = recorder_->rules.Start(folder, PreRollMs(Timer1.interval(), quietTick_.isValid() ? quietTick_.elapsed() : kPreRollKeepMs))) {
        Tell(QString::fromStdString(*message));
    }
}

void Form1::UpdateListening() {
    // The input stays open, holding its last seconds, only while a hit may
    // need them: the link runs and "Record Audio" is ticked.
    if (const auto message = recorder_->rules.Listen(running_ && RecordAudioTicked())) {
        Tell(QString::fromStdString(*message));
    }
}

std::string Form1::StopRecording(const RecordingNames& names) {
    const std::string folder = LogFolderBytes(pgm_.logDirectory, appDirectory_);
    if (const auto message = recorder_->rules.Stop(names, launchDate_, folder)) {
        Tell(QString::fromStdString(*message));
    }
    return recorder_->rules.SavedFileName();
}

void Form1::SetUpAudio() { recorder_->rules.SetUp(); }

void Form1::CloseAudio() {
    recorder_->rules.CloseInput();
    // A hit still in progress is recorded afresh from the next poll tick.
    poll_->ResetRecording();
    UpdateListening();
}

void Form1::Timer3_Timer() {
    // A hit that ended with the box unticked, or skipped after its recording
    // began, leaves its recording running: it is dropped here.
    if (recorder_->rules.DropIfHitOver(poll_->Hit())) poll_->ResetRecording();
    SetText3Base(QString::fromStdString(IndicatorText(poll_->Hit().HitActive, RecordAudioTicked())));
}

}  // namespace quorvane
