#include "ui/AudioRecorder.h"

#include <QAudioDevice>
#include <QAudioSource>
#include <QMediaDevices>
#include <algorithm>
#include <filesystem>
#include <sndfile.h>

namespace quorvane {
namespace {

namespace fs = std::filesystem;

// How often the captured samples are moved to disk.
constexpr int kDrainIntervalMs = 20;
// Audio handed over ahead of its time that is kept; beyond this a source that
// keeps running ahead is brought back in step.
constexpr qint64 kMostAheadUs = 4'000'000;

// 16-bit PCM at the input's own rate and channel count.
QAudioFormat RecordingFormat(const QAudioDevice& device) {
    QAudioFormat format = device.preferredFormat();
    if (format.sampleRate() <= 0) format.setSampleRate(44100);
    if (format.channelCount() <= 0) format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

const char* ErrorName(QAudio::Error error) {
    switch (error) {
    case QAudio::NoError: return "no error";
    case QAudio::OpenError: return "open error";
    case QAudio::IOError: return "read error";
    case QAudio::UnderrunError: return "underrun";
    case QAudio::FatalError: return "fatal error";
    }
    return "unknown error";
}

std::string OpenFailure(const QAudioDevice& device, QAudio::Error error) {
    return "The sound input \"" + device.description().toStdString() + "\" cannot be opened (" +
           ErrorName(error) + "): hits are logged without recordings";
}

}  // namespace

DefaultInputRecorder::DefaultInputRecorder(QObject* parent) : QObject(parent) {
    drainTimer_.setInterval(kDrainIntervalMs);
    connect(&drainTimer_, &QTimer::timeout, this, &DefaultInputRecorder::Drain);
}

DefaultInputRecorder::~DefaultInputRecorder() { Close(); }

bool DefaultInputRecorder::TryInput() {
    error_.clear();
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull()) {
        error_ = kNoSoundInputMessage;
        return false;
    }
    QAudioSource probe(device, RecordingFormat(device));
    probe.start();
    const QAudio::Error error = probe.error();
    probe.stop();
    if (error == QAudio::NoError) return true;
    error_ = OpenFailure(device, error);
    return false;
}

bool DefaultInputRecorder::Start(const std::string& path) {
    Close();
    error_.clear();
    framesWritten_ = 0;
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull()) {
        error_ = kNoSoundInputMessage;
        return false;
    }
    format_ = RecordingFormat(device);

    SF_INFO info{};
    info.samplerate = format_.sampleRate();
    info.channels = format_.channelCount();
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    file_ = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file_) {
        error_ = "The recording file " + path + " cannot be written (" + sf_strerror(nullptr) +
                 "): hits are logged without recordings";
        return false;
    }
    path_ = path;

    source_ = std::make_unique<QAudioSource>(device, format_);
    input_ = source_->start();
    if (!input_ || source_->error() != QAudio::NoError) {
        error_ = OpenFailure(device, source_->error());
        input_ = nullptr;
        source_.reset();
        Discard();
        return false;
    }
    clock_.start();
    connect(input_.data(), &QIODevice::readyRead, this, &DefaultInputRecorder::Drain);
    drainTimer_.start();
    return true;
}

void DefaultInputRecorder::Drain() {
    if (!file_) return;
    if (input_) ahead_.append(input_->readAll());
    const int frameBytes = format_.bytesPerFrame();
    if (frameBytes <= 0) return;
    const qint64 due = clock_.nsecsElapsed() * format_.sampleRate() / 1'000'000'000 - framesWritten_;
    const qint64 frames = std::min<qint64>(ahead_.size() / frameBytes, due);
    if (frames > 0) {
        const sf_count_t written =
            sf_writef_short(file_, reinterpret_cast<const short*>(ahead_.constData()), frames);
        framesWritten_ += written;
        ahead_.remove(0, static_cast<qsizetype>(written * frameBytes));
    }
    const qint64 excessFrames = ahead_.size() / frameBytes - format_.framesForDuration(kMostAheadUs);
    if (excessFrames > 0) ahead_.remove(0, static_cast<qsizetype>(excessFrames * frameBytes));
}

void DefaultInputRecorder::Stop() {
    if (!Capturing()) return;
    Drain();
    drainTimer_.stop();
    if (input_) input_->disconnect(this);
    input_ = nullptr;
    if (source_) source_->stop();
    ahead_.clear();
    CloseFile();
}

void DefaultInputRecorder::CloseFile() {
    if (!file_) return;
    sf_close(file_);  // writes the final sizes into the header
    file_ = nullptr;
}

SaveOutcome DefaultInputRecorder::Save(const std::string& finalPath) {
    Stop();
    std::error_code error;
    if (fs::exists(fs::symlink_status(finalPath, error))) return SaveOutcome::AlreadyThere;
    if (path_.empty()) {
        error_ = "nothing was recorded";
        return SaveOutcome::Refused;
    }
    fs::rename(path_, finalPath, error);
    if (error == std::errc::cross_device_link) {
        // The log folder moved to another disk during the hit.
        if (fs::copy_file(path_, finalPath, error)) {
            std::error_code ignored;
            fs::remove(path_, ignored);
        }
    }
    if (error) {
        error_ = error.message();
        return SaveOutcome::Refused;
    }
    path_.clear();
    return SaveOutcome::Saved;
}

void DefaultInputRecorder::Discard() {
    Stop();
    if (path_.empty()) return;
    std::error_code ignored;
    fs::remove(path_, ignored);
    path_.clear();
}

void DefaultInputRecorder::Close() {
    if (Capturing()) Discard();
    source_.reset();
}

}  // namespace quorvane
