#include "speech/qt/HitSpeaker.h"

#include <QCheckBox>
#include <QTextToSpeech>

#include "app/qt/AppFiles.h"
#include "app/qt/Controls.h"
#include "app/qt/ScannerText.h"
#include "speech/SpeechSettings.h"

namespace quorvane {

HitSpeaker::HitSpeaker(QString appDirectory, QObject* parent)
    : QObject(parent), appDirectory_(std::move(appDirectory)) {}

QStringList HitSpeaker::Load() {
    const SpeechSettings settings =
        ReadSpeechSettings(ReadFileBytes(JoinPath(appDirectory_, kSpeechSettingsFile)).value_or(""));
    speak_ = settings.speak;
    QStringList notices;
    for (const std::string& notice : settings.notices) notices << QString::fromStdString(notice);
    return notices;
}

void HitSpeaker::SetSpeaking(bool on) {
    if (on == speak_) return;
    speak_ = on;
    WriteFileAtomically(JoinPath(appDirectory_, kSpeechSettingsFile), WriteSpeechSettings({on, {}}));
    if (!on && service_) service_->stop();
}

QCheckBox* HitSpeaker::NewCheck(QWidget* frame, const QRect& place) {
    auto* check = NewControl<QCheckBox>(frame, "SpeakHitsCheck", place, "Speak hits");
    check->setAccessibleDescription("Says the channel's name when a hit starts");
    check->setChecked(speak_);
    connect(check, &QCheckBox::toggled, this, &HitSpeaker::SetSpeaking);
    return check;
}

void HitSpeaker::Follow(const TickOutcome& outcome) {
    if (!speak_) return;
    for (const TickAction& action : outcome.Actions) {
        if (const auto* started = std::get_if<HitStarted>(&action)) Say(ScreenText(HitPhrase(started->Hit)));
    }
}

void HitSpeaker::Say(const QString& phrase) {
    if (phrase.isEmpty()) return;
    lastPhrase_ = phrase;
    const bool said = voice_ ? voice_(phrase) : SayThroughService(phrase);
    if (!said && !toldNoService_) {
        toldNoService_ = true;
        emit Note("No speech service: hits are not spoken");
    }
}

bool HitSpeaker::SayThroughService(const QString& phrase) {
    if (!service_) {
        if (QTextToSpeech::availableEngines().isEmpty()) return false;
        service_ = new QTextToSpeech(this);
    }
    if (service_->state() == QTextToSpeech::Error) return false;
    // The phrase before this one, if still being said, stops here.
    service_->stop();
    service_->say(phrase);
    return service_->state() != QTextToSpeech::Error;
}

}  // namespace quorvane
