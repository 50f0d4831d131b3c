#include "feed/Mp3Encoder.h"

#include <lame/lame.h>

namespace quorvane {

struct Mp3Encoder::Lame {
    lame_global_flags* flags = nullptr;
    ~Lame() {
        if (flags) lame_close(flags);
    }
};

Mp3Encoder::Mp3Encoder(int bitrateKbps, int sampleRate) : bitrate_(bitrateKbps), sampleRate_(sampleRate) {}

Mp3Encoder::~Mp3Encoder() = default;

bool Mp3Encoder::Open(int rate) {
    lame_ = std::make_unique<Lame>();
    lame_->flags = lame_init();
    if (!lame_->flags) {
        error_ = "the MP3 encoder (LAME) could not be started";
        lame_.reset();
        return false;
    }
    lame_set_num_channels(lame_->flags, 1);
    lame_set_in_samplerate(lame_->flags, rate);
    lame_set_out_samplerate(lame_->flags, sampleRate_);
    lame_set_mode(lame_->flags, MONO);
    lame_set_VBR(lame_->flags, vbr_off);
    lame_set_brate(lame_->flags, bitrate_);
    lame_set_quality(lame_->flags, 7);  // fast; speech at a low bit rate gains nothing from more
    lame_set_bWriteVbrTag(lame_->flags, 0);
    if (lame_init_params(lame_->flags) < 0) {
        error_ = "the MP3 encoder (LAME) refused " + std::to_string(bitrate_) + " kbit/s at " +
                 std::to_string(sampleRate_) + " Hz from " + std::to_string(rate) + " Hz input";
        lame_.reset();
        return false;
    }
    error_.clear();
    return true;
}

std::vector<std::uint8_t> Mp3Encoder::Encode(const std::int16_t* frames, std::int64_t count, int rate, int channels) {
    std::vector<std::uint8_t> out;
    if (count <= 0 || channels <= 0 || rate <= 0) return out;
    if (lame_ && (rate != inputRate_ || channels != inputChannels_)) out = Flush();
    if (!lame_) {
        if (!Open(rate)) return out;
        inputRate_ = rate;
        inputChannels_ = channels;
    }
    mono_.resize(static_cast<size_t>(count));
    for (std::int64_t i = 0; i < count; ++i) {
        int sum = 0;
        for (int c = 0; c < channels; ++c) sum += frames[i * channels + c];
        mono_[static_cast<size_t>(i)] = static_cast<std::int16_t>(sum / channels);
    }
    const size_t before = out.size();
    out.resize(before + static_cast<size_t>(count) * 5 / 4 + 7200);
    const int written = lame_encode_buffer(lame_->flags, mono_.data(), mono_.data(), static_cast<int>(count),
                                           out.data() + before, static_cast<int>(out.size() - before));
    out.resize(before + static_cast<size_t>(written > 0 ? written : 0));
    return out;
}

std::vector<std::uint8_t> Mp3Encoder::Flush() {
    std::vector<std::uint8_t> out;
    if (!lame_) return out;
    out.resize(7200);
    const int written = lame_encode_flush(lame_->flags, out.data(), static_cast<int>(out.size()));
    out.resize(static_cast<size_t>(written > 0 ? written : 0));
    lame_.reset();
    return out;
}

int FirstMp3FrameBitrate(const std::vector<std::uint8_t>& bytes, int* sampleRate, bool* mono) {
    // Layer III bit rates: MPEG 1, then MPEG 2 and 2.5.
    static constexpr int kMpeg1[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    static constexpr int kMpeg2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
    static constexpr int kRates[3] = {44100, 48000, 32000};
    for (size_t i = 0; i + 4 <= bytes.size(); ++i) {
        if (bytes[i] != 0xFF || (bytes[i + 1] & 0xE0) != 0xE0) continue;
        const int version = (bytes[i + 1] >> 3) & 3;  // 0: 2.5, 2: 2, 3: 1
        const int layer = (bytes[i + 1] >> 1) & 3;    // 1: layer III
        const int rateIndex = (bytes[i + 2] >> 4) & 15;
        const int freqIndex = (bytes[i + 2] >> 2) & 3;
        if (version == 1 || layer != 1 || rateIndex == 0 || rateIndex == 15 || freqIndex == 3) continue;
        if (sampleRate) *sampleRate = kRates[freqIndex] / (version == 3 ? 1 : version == 2 ? 2 : 4);
        if (mono) *mono = ((bytes[i + 3] >> 6) & 3) == 3;
        return version == 3 ? kMpeg1[rateIndex] : kMpeg2[rateIndex];
    }
    return 0;
}

}  // namespace quorvane
