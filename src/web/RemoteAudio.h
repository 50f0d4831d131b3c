#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace quorvane {

// The sound for the pages: the sound input made mono at 16 kHz and cut into
// binary WebSocket frames of 100 ms. A frame is an 8-byte header, then the
// samples as signed 16-bit little-endian PCM:
//   bytes 0-3  sample rate, unsigned 32-bit little-endian (16000)
//   bytes 4-7  frame number, unsigned 32-bit little-endian, +1 a frame, so a
//              page sees where frames were left out for a slow connection
//   bytes 8-   1600 samples
inline constexpr int kRemoteAudioRate = 16000;
inline constexpr int kRemoteAudioFrameSamples = kRemoteAudioRate / 10;
inline constexpr size_t kRemoteAudioHeaderBytes = 8;

class RemoteAudioEncoder {
public:
    // Starts over for an input of this rate and channel count (the sound
    // input's own format); a frame not yet complete is dropped.
    void Reset(int sampleRate, int channels);

    // Interleaved 16-bit frames as the input hands them over; the frames now
    // complete, each a binary message. Nothing until Reset gave a format.
    std::vector<std::string> Push(const std::int16_t* samples, std::int64_t frames);

private:
    void Emit(std::int16_t sample, std::vector<std::string>& out);

    int rate_ = 0;
    int channels_ = 1;
    // Each input sample adds kRemoteAudioRate to phase_; each output sample
    // takes rate_ off it. So 16000 samples leave for every `rate_` that come
    // in, each the mean of the input samples since the one before: a box
    // filter, enough against aliasing for voices on a scanner.
    std::int64_t phase_ = 0;
    std::int64_t sum_ = 0;
    std::int64_t count_ = 0;
    std::int16_t last_ = 0;
    std::uint32_t sequence_ = 0;
    std::string frame_;
};

}  // namespace quorvane
