#include "web/RemoteAudio.h"

namespace quorvane {
namespace {

void PutU32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

constexpr size_t kFrameBytes = kRemoteAudioHeaderBytes + 2 * kRemoteAudioFrameSamples;

}  // namespace

void RemoteAudioEncoder::Reset(int sampleRate, int channels) {
    rate_ = sampleRate > 0 ? sampleRate : 0;
    channels_ = channels > 0 ? channels : 1;
    phase_ = sum_ = count_ = 0;
    last_ = 0;
    frame_.clear();
}

void RemoteAudioEncoder::Emit(std::int16_t sample, std::vector<std::string>& out) {
    if (frame_.empty()) {
        frame_.reserve(kFrameBytes);
        PutU32(frame_, kRemoteAudioRate);
        PutU32(frame_, sequence_++);
    }
    frame_ += static_cast<char>(static_cast<std::uint16_t>(sample) & 0xFF);
    frame_ += static_cast<char>(static_cast<std::uint16_t>(sample) >> 8);
    if (frame_.size() == kFrameBytes) {
        out.push_back(std::move(frame_));
        frame_.clear();
    }
}

std::vector<std::string> RemoteAudioEncoder::Push(const std::int16_t* samples, std::int64_t frames) {
    std::vector<std::string> out;
    if (rate_ == 0 || samples == nullptr) return out;
    for (std::int64_t f = 0; f < frames; ++f) {
        std::int64_t mono = 0;
        for (int c = 0; c < channels_; ++c) mono += samples[f * channels_ + c];
        sum_ += mono / channels_;
        ++count_;
        phase_ += kRemoteAudioRate;
        // Below 16 kHz one input sample gives several output samples.
        while (phase_ >= rate_) {
            if (count_ > 0) last_ = static_cast<std::int16_t>(sum_ / count_);
            sum_ = count_ = 0;
            phase_ -= rate_;
            Emit(last_, out);
        }
    }
    return out;
}

}  // namespace quorvane
