#include <QCheckBox>

#include "ui/Form1.h"

namespace quorvane {

bool Form1::RecordAudioTicked() const { return RecordAudioCheck && RecordAudioCheck->isChecked(); }

void Form1::StartRecording() {}

void Form1::StopRecording(const RecordingNames&) { poll_->ResetRecording(); }

}  // namespace quorvane
