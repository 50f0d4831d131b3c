#include "feed/Mp3Encoder.h"

#include <lame/lame.h>

#include <optional>

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

namespace {

struct FrameHeader {
    int bitrate = 0;
    int sampleRate = 0;
    bool mono = false;
    size_t length = 0;
};

std::optional<FrameHeader> ReadFrameHeader(const std::vector<std::uint8_t>& bytes, size_t at) {
    // Layer III bit rates: MPEG 1, then MPEG 2 and 2.5.
    static constexpr int kMpeg1[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    static constexpr int kMpeg2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
    static constexpr int kRates[3] = {44100, 48000, 32000};
    if (at + 4 > bytes.size() || bytes[at] != 0xFF || (bytes[at + 1] & 0xE0) != 0xE0) return std::nullopt;
    const int version = (bytes[at + 1] >> 3) & 3;  // 0: 2.5, 2: 2, 3: 1
    const int layer = (bytes[at + 1] >> 1) & 3;    // 1: layer III
    const int rateIndex = (bytes[at + 2] >> 4) & 15;
    const int freqIndex = (bytes[at + 2] >> 2) & 3;
    if (version == 1 || layer != 1 || rateIndex == 0 || rateIndex == 15 || freqIndex == 3) return std::nullopt;
    FrameHeader header;
    header.sampleRate = kRates[freqIndex] / (version == 3 ? 1 : version == 2 ? 2 : 4);
    header.bitrate = version == 3 ? kMpeg1[rateIndex] : kMpeg2[rateIndex];
    header.mono = ((bytes[at + 3] >> 6) & 3) == 3;
    const int padding = (bytes[at + 2] >> 1) & 1;
    // 1152 samples a frame in MPEG 1, 576 in MPEG 2 and 2.5.
    header.length = static_cast<size_t>((version == 3 ? 144000 : 72000) * header.bitrate / header.sampleRate + padding);
    return header;
}

}  // namespace

Mp3Frames ReadMp3Frames(const std::vector<std::uint8_t>& bytes) {
    Mp3Frames frames;
    size_t at = 0;
    while (at < bytes.size() && !ReadFrameHeader(bytes, at)) ++at;
    while (const auto header = ReadFrameHeader(bytes, at)) {
        if (frames.bitrates.empty()) {
            frames.sampleRate = header->sampleRate;
            frames.mono = header->mono;
        }
        frames.bitrates.push_back(header->bitrate);
        at += header->length;
    }
    return frames;
}

}  // namespace quorvane
