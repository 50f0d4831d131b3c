#include "monitor/Recording.h"

#include "monitor/LogText.h"

namespace quorvane {

std::string TemporaryRecordingPath(std::string_view folder, int counter) {
    return JoinPath(folder, "temp" + std::to_string(counter));
}

std::string RecordingFileName(const RecordingNames& names, std::string_view launchDate) {
    std::string name;
    for (const std::string* text : {&names.SystemText, &names.GroupText, &names.ChannelText,
                                    &names.FreqShown, &names.CodeText, &names.TalkgroupId,
                                    &names.StartTime, &names.EndTime}) {
        name.append(FixForLog(*text)).push_back('_');
    }
    name.append(launchDate).append(".wav");
    return name;
}

std::string IndicatorText(bool hitActive, bool recordAudioTicked) {
    if (!hitActive) return "Waiting";
    return recordAudioTicked ? "Recording" : "Active";
}

void HitRecording::SetUp() { recorder_.TryInput(); }

void HitRecording::CloseInput() {
    if (capturing_) {
        Drop();
        return;
    }
    recorder_.Close();
}

std::optional<std::string> HitRecording::Listen(bool on) {
    if (!on) {
        recorder_.Listen(false);
        return std::nullopt;
    }
    if (recorder_.Listen(true)) {
        startFailureTold_ = false;
        return std::nullopt;
    }
    return InputFailure();
}

std::optional<std::string> HitRecording::Start(std::string_view folder, int preRollMs) {
    if (capturing_) Drop();  // only one recording at a time
    temporaryPath_ = TemporaryRecordingPath(folder, counter_.Next());
    if (recorder_.Start(temporaryPath_, preRollMs)) {
        capturing_ = true;
        startFailureTold_ = false;
        return std::nullopt;
    }
    // The hit is logged all the same; the next hit tries again, silently.
    return InputFailure();
}

std::optional<std::string> HitRecording::InputFailure() {
    if (startFailureTold_) return std::nullopt;
    startFailureTold_ = true;
    const std::string error = recorder_.ErrorText();
    return error.empty() ? std::string(kNoSoundInputMessage) : error;
}

std::optional<std::string> HitRecording::Stop(const RecordingNames& names,
                                              std::string_view launchDate,
                                              std::string_view folder) {
    savedFileName_.clear();
    if (!capturing_) return std::nullopt;
    capturing_ = false;
    recorder_.Stop();
    const std::string finalPath = makePath_(folder, RecordingFileName(names, launchDate));
    std::optional<std::string> message;
    switch (recorder_.Save(finalPath)) {
    case SaveOutcome::Saved:
        saveFailureTold_ = false;
        // The name as it stands on disk (the path maker may have turned the
        // scanner's bytes into the file system's letters); it holds no
        // separator, since the names were made file-name safe.
        savedFileName_ = finalPath.substr(finalPath.find_last_of(kPathSeparator) + 1);
        break;
    case SaveOutcome::AlreadyThere:
        recorder_.Discard();
        break;
    case SaveOutcome::Refused:
        recorder_.Discard();
        if (!saveFailureTold_) {
            saveFailureTold_ = true;
            message = "The recording " + finalPath + " cannot be saved (" + recorder_.ErrorText() +
                      ").\nHits are still logged. Choose another folder with \"Log Directory\".";
        }
        break;
    }
    recorder_.Close();
    return message;
}

void HitRecording::Drop() {
    if (!capturing_) return;
    capturing_ = false;
    recorder_.Stop();
    recorder_.Discard();
    recorder_.Close();
}

bool HitRecording::DropIfHitOver(const HitRecord& hit) {
    if (hit.HitActive || !hit.Recording) return false;
    Drop();
    return true;
}

}  // namespace quorvane
