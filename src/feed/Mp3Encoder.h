#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quorvane {

// MP3 for the live feed: blocks of interleaved 16-bit frames at the input's
// rate and channel count in, constant-bit-rate mono MP3 frames at the feed's
// bit rate and sample rate out (LAME). The channels are mixed down here and
// LAME resamples; it keeps its state between blocks, so the stream has no
// seam where one block meets the next. A change of the input's rate or
// channel count starts a new encoder (after flushing the old one).
class Mp3Encoder {
public:
    Mp3Encoder(int bitrateKbps, int sampleRate);
    ~Mp3Encoder();
    Mp3Encoder(const Mp3Encoder&) = delete;
    Mp3Encoder& operator=(const Mp3Encoder&) = delete;

    // The MP3 bytes that are ready after this block (often none: LAME works
    // in frames of 1152 samples). Empty, and Error() says why, when LAME
    // could not be set up.
    std::vector<std::uint8_t> Encode(const std::int16_t* frames, std::int64_t count, int rate, int channels);
    // What is still held inside, as MP3; the next Encode starts afresh.
    std::vector<std::uint8_t> Flush();
    const std::string& Error() const { return error_; }

private:
    bool Open(int rate);

    struct Lame;
    std::unique_ptr<Lame> lame_;
    int bitrate_;
    int sampleRate_;
    int inputRate_ = 0;
    int inputChannels_ = 0;
    std::vector<std::int16_t> mono_;
    std::string error_;
};

// The MP3 frames of a stream's bytes (MPEG 1, 2 or 2.5, layer III), from the
// first frame header on, each found where the one before it ends; the walk
// stops at the first bytes that are no frame header. The tests read what the
// server sends with it.
struct Mp3Frames {
    std::vector<int> bitrates;  // kbit/s, one a frame
    int sampleRate = 0;         // of the first frame
    bool mono = false;
};
Mp3Frames ReadMp3Frames(const std::vector<std::uint8_t>& bytes);

}  // namespace quorvane
