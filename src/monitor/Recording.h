#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "monitor/EndHit.h"
#include "monitor/HitRecord.h"
#include "monitor/LogText.h"

namespace quorvane {

// What became of a completed recording that was to be kept.
enum class SaveOutcome {
    Saved,         // it now lies under the final path
    AlreadyThere,  // a file of that path exists; the recording was not moved
    Refused,       // the file system refused the path; ErrorText() says why
};

// The computer's sound input as the hits are recorded from it. The window
// records the default input into wave files; tests use a fake.
class AudioRecorder {
public:
    virtual ~AudioRecorder() = default;

    // Opens the default input once and releases it again; keeps nothing.
    virtual bool TryInput() = 0;
    // On: opens the default input and keeps its last seconds in memory, so
    // that a recording can begin before it is started. Off: releases the
    // input and that audio (a capture under way keeps the input until it
    // ends). False when no input opens; ErrorText() says why.
    virtual bool Listen(bool on) = 0;
    // Captures the default input into a new wave file at path, written as the
    // samples arrive, beginning with the audio of the last preRollMs held in
    // memory (none while not listening). False when no input opens or the file
    // cannot be made; nothing is left behind then and ErrorText() says why.
    virtual bool Start(const std::string& path, int preRollMs) = 0;
    // Ends the capture and completes the file.
    virtual void Stop() = 0;
    // Moves the completed file to finalPath; a file already there is left as
    // it is.
    virtual SaveOutcome Save(const std::string& finalPath) = 0;
    // Removes the completed file.
    virtual void Discard() = 0;
    // Ends the capture's hold on the input: a capture still running is ended
    // and its file removed; the input stays open only while listening.
    virtual void Close() = 0;
    // Why the last Start or Save failed, in words for the user; may be empty.
    virtual std::string ErrorText() const = 0;
};

inline constexpr std::string_view kNoSoundInputMessage =
    "No sound input: hits are logged without recordings";

// Numbers the temporary recording files: 1 at start-up and one more before
// each recording, so the first recording of a run uses 2. A 16-bit count: at
// 32767 it stays, and the recordings go on under the same temporary name.
class RecordingCounter {
public:
    static constexpr int kLimit = 32767;
    int Value() const { return value_; }
    int Next() {
        if (value_ < kLimit) ++value_;
        return value_;
    }

private:
    int value_ = 1;
};

// folder / "temp" and the counter, e.g. /home/ann/Logs/temp2. The file lies
// beside the recordings it becomes.
std::string TemporaryRecordingPath(std::string_view folder, int counter);

// System_Group_Channel_Frequency_Code_Talkgroup_Start_End_LaunchDate.wav: each
// of the eight texts made file-name safe (FixForLog) and followed by "_"; an
// empty text leaves its "_" in place.
std::string RecordingFileName(const RecordingNames& names, std::string_view launchDate);

// The indicator box while the link runs: "Waiting" between hits, "Recording"
// during a hit with "Record Audio" ticked (also when the hit was skipped and is
// not recorded), otherwise "Active".
std::string IndicatorText(bool hitActive, bool recordAudioTicked);

// The recording rules of the hits: one recording at a time, a temporary file
// per recording, saved under the hit's name when the hit ends or dropped.
// Every call answers the message to show the user, if any: a failure is told
// once, and told again only after things worked in between.
class HitRecording {
public:
    explicit HitRecording(AudioRecorder& recorder) : recorder_(recorder) {}

    // On choosing a port speed: exercises the input once; keeps nothing and
    // tells nothing (the box may not even be ticked).
    void SetUp();
    // At Run and start-up: each run of the link begins with the input closed;
    // a recording still running is dropped.
    void CloseInput();

    // While the link runs with "Record Audio" ticked the input is kept open
    // with its last seconds in memory; off releases both.
    std::optional<std::string> Listen(bool on);
    // A hit with "Record Audio" ticked began (or the box was ticked during it).
    // folder: where the temporary and final files go. The recording begins
    // preRollMs before now with the audio held in memory.
    std::optional<std::string> Start(std::string_view folder, int preRollMs = 0);
    // The hit ended with the box ticked and the hit not skipped: the recording
    // is saved under the hit's name in folder, unless a file of that name is
    // already there (the older file stays, this recording is dropped).
    std::optional<std::string> Stop(const RecordingNames& names, std::string_view launchDate,
                                    std::string_view folder);
    // The hit ended and its recording is not kept (box unticked, hit skipped
    // after the recording began): ends and removes it.
    void Drop();
    // Drops the recording of a hit that ended without Stop. True when the
    // hit's Recording flag is to be cleared.
    bool DropIfHitOver(const HitRecord& hit);

    bool Capturing() const { return capturing_; }
    int Counter() const { return counter_.Value(); }
    // The temporary file of the latest recording.
    const std::string& TemporaryPath() const { return temporaryPath_; }
    // The file name (in the file system's bytes) the last Stop saved its
    // recording under; empty when it saved none.
    const std::string& SavedFileName() const { return savedFileName_; }
    // How the final path is made from the folder and the hit's file name.
    void SetPathMaker(NamePathMaker makePath) { makePath_ = std::move(makePath); }

private:
    // The input did not open: told once until it works again.
    std::optional<std::string> InputFailure();

    AudioRecorder& recorder_;
    NamePathMaker makePath_ = JoinPathBytes;
    RecordingCounter counter_;
    std::string temporaryPath_;
    std::string savedFileName_;
    bool capturing_ = false;
    bool startFailureTold_ = false;
    bool saveFailureTold_ = false;
};

}  // namespace quorvane
