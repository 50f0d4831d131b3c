#include "monitor/qt/AudioRecorder.h"

#include <QAudioDevice>
#include <QAudioSource>
#include <QMediaDevices>
#include <algorithm>
#include <filesystem>
#include <sndfile.h>

namespace quorvane {
namespace {

namespace fs = std::filesystem;

// How often the captured samples are taken from the input.
constexpr int kDrainIntervalMs = 20;
// The input's own buffer: small, so that audio comes in small blocks soon
// after it was captured.
constexpr qint64 kInputBufferUs = 40'000;

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
    clock_.start();
}

DefaultInputRecorder::~DefaultInputRecorder() {
    listening_ = false;
    blockListener_ = nullptr;
    Close();
}

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

bool DefaultInputRecorder::OpenInput() {
    if (source_) return true;
    error_.clear();
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull()) {
        error_ = kNoSoundInputMessage;
        return false;
    }
    format_ = RecordingFormat(device);
    // PulseAudio hands a recording stream over in blocks of two seconds
    // unless asked for less; its client library takes the wish from here.
    if (!qEnvironmentVariableIsSet("PULSE_LATENCY_MSEC")) {
        qputenv("PULSE_LATENCY_MSEC", QByteArray::number(kInputBufferUs / 1000));
    }
    source_ = std::make_unique<QAudioSource>(device, format_);
    source_->setBufferSize(format_.bytesForDuration(kInputBufferUs));
    input_ = source_->start();
    if (!input_ || source_->error() != QAudio::NoError) {
        error_ = OpenFailure(device, source_->error());
        input_ = nullptr;
        source_.reset();
        return false;
    }
    held_.Reset(format_.sampleRate(), format_.channelCount());
    partial_.clear();
    nextFileFrame_ = 0;
    connect(input_.data(), &QIODevice::readyRead, this, &DefaultInputRecorder::Drain);
    // An input that goes away (unplugged, sound server ended) is released.
    connect(source_.get(), &QAudioSource::stateChanged, this, [this](QAudio::State state) {
        if (state == QAudio::StoppedState && source_ && source_->error() != QAudio::NoError) {
            QTimer::singleShot(0, this, [this] {
                if (source_ && source_->error() != QAudio::NoError) ReleaseInput();
            });
        }
    });
    drainTimer_.start();
    sinceSamples_.start();
    return true;
}

void DefaultInputRecorder::ReleaseInput() {
    if (Capturing()) {
        Drain();
        CloseFile();  // what was captured so far stays in the file
    }
    drainTimer_.stop();
    if (input_) input_->disconnect(this);
    input_ = nullptr;
    if (source_) {
        source_->disconnect(this);
        source_->stop();
    }
    source_.reset();
    held_.Reset(1, 1, 0);
    partial_.clear();
}

bool DefaultInputRecorder::Listen(bool on) {
    listening_ = on;
    if (on) return OpenInput();
    if (!Capturing() && !blockListener_) ReleaseInput();
    return true;
}

bool DefaultInputRecorder::SetBlockListener(BlockListener listener) {
    blockListener_ = std::move(listener);
    if (blockListener_) return OpenInput();
    if (!listening_ && !Capturing()) ReleaseInput();
    return true;
}

bool DefaultInputRecorder::Start(const std::string& path, int preRollMs) {
    if (Capturing()) Discard();
    error_.clear();
    framesWritten_ = 0;
    // Audio held only because a page listens was never kept for a recording:
    // the recording begins now, as from an input opened for it.
    if (blockListener_ && source_ && !listening_) preRollMs = 0;
    if (!OpenInput()) return false;
    Drain();  // what the input holds now belongs to the time before the start
    nextFileFrame_ = held_.FrameAt(clock_.nsecsElapsed() / 1000 - qint64(std::max(0, preRollMs)) * 1000);

    SF_INFO info{};
    info.samplerate = format_.sampleRate();
    info.channels = format_.channelCount();
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    file_ = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file_) {
        error_ = "The recording file " + path + " cannot be written (" + sf_strerror(nullptr) +
                 "): hits are logged without recordings";
        if (!listening_ && !blockListener_) ReleaseInput();
        return false;
    }
    path_ = path;
    Drain();
    return true;
}

void DefaultInputRecorder::Drain() {
    if (!input_) return;
    const int frameBytes = format_.bytesPerFrame();
    if (frameBytes <= 0) return;
    partial_.append(input_->readAll());
    const qint64 frames = partial_.size() / frameBytes;
    if (frames > 0) {
        if (blockListener_) {
            blockListener_(reinterpret_cast<const std::int16_t*>(partial_.constData()), frames, format_.sampleRate(),
                           format_.channelCount());
        }
        held_.Append(reinterpret_cast<const std::int16_t*>(partial_.constData()), frames,
                     clock_.nsecsElapsed() / 1000);
        partial_.remove(0, static_cast<qsizetype>(frames * frameBytes));
        sinceSamples_.start();
    } else if (sinceSamples_.elapsed() > kStalledAfterMs) {
        // The input stopped without a word (a stalled sound server, a
        // suspended device): let it go so that it can be opened afresh. Not
        // from inside this drain, which its own device may have called.
        drainTimer_.stop();
        sinceSamples_.start();
        QMetaObject::invokeMethod(this, [this] {
            if (!source_) return;
            ReleaseInput();
            if (onStalled_) onStalled_();
        }, Qt::QueuedConnection);
        return;
    }
    if (!file_) return;
    const std::vector<std::int16_t> due = held_.Since(nextFileFrame_);
    nextFileFrame_ = std::max(nextFileFrame_, held_.EndFrame());
    if (due.empty()) return;
    framesWritten_ += sf_writef_short(file_, due.data(), static_cast<sf_count_t>(due.size()) / format_.channelCount());
}

void DefaultInputRecorder::Stop() {
    if (!Capturing()) return;
    Drain();
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
    if (!listening_ && !blockListener_) ReleaseInput();
}

}  // namespace quorvane
