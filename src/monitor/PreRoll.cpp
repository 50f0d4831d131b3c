#include "monitor/PreRoll.h"

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {
// How fast the timeline's origin may move later: 1 ms a second.
constexpr double kOriginRise = 0.001;
// Arrivals later than the timeline by more than this many blocks for this
// long mean the input lost audio (a gap, a suspended stream): the timeline
// moves to them.
constexpr double kLateBlocks = 2.0;
constexpr std::int64_t kLateForUs = 1'000'000;
// Set aside for the replies of the tick on the wire.
constexpr int kReplyMarginMs = 50;
}  // namespace

int PreRollMs(int pollIntervalMs, long long msSinceQuietTick) {
    const long long ms = std::max(0LL, msSinceQuietTick) + std::max(0, pollIntervalMs) + kReplyMarginMs;
    return static_cast<int>(std::min<long long>(ms, kPreRollKeepMs));
}

void PreRollBuffer::Reset(int sampleRate, int channels, int keepMs) {
    rate_ = std::max(1, sampleRate);
    channels_ = std::max(1, channels);
    capacity_ = std::max<std::int64_t>(1, static_cast<std::int64_t>(rate_) * keepMs / 1000);
    ring_.assign(static_cast<std::size_t>(capacity_ * channels_), 0);
    end_ = 0;
    held_ = 0;
    timed_ = false;
    originUs_ = 0;
    lastArrivalUs_ = 0;
    lateSinceUs_.reset();
}

void PreRollBuffer::Append(const std::int16_t* samples, std::int64_t frames, std::int64_t arrivalUs) {
    if (frames <= 0 || capacity_ == 0) return;
    // Of a block longer than the buffer only its end is kept.
    const std::int64_t skipped = std::max<std::int64_t>(0, frames - capacity_);
    for (std::int64_t f = skipped; f < frames; ++f) {
        const std::int64_t slot = (end_ + f) % capacity_;
        std::copy_n(samples + f * channels_, channels_, ring_.begin() + slot * channels_);
    }
    end_ += frames;
    held_ = std::min(capacity_, held_ + frames);

    const double bound = static_cast<double>(arrivalUs) - static_cast<double>(end_) * 1e6 / rate_;
    if (!timed_) {
        originUs_ = bound;
        timed_ = true;
    } else {
        const double risen = originUs_ + kOriginRise * static_cast<double>(std::max<std::int64_t>(0, arrivalUs - lastArrivalUs_));
        originUs_ = std::min(risen, bound);
        FollowLostAudio(bound, static_cast<double>(frames) * 1e6 / rate_, arrivalUs);
    }
    lastArrivalUs_ = arrivalUs;
}

void PreRollBuffer::FollowLostAudio(double bound, double blockUs, std::int64_t arrivalUs) {
    // Audio the input never delivered leaves every later block looking late
    // by the gap; after a second of that the gap is real, not a late block.
    if (bound - originUs_ <= kLateBlocks * blockUs) {
        lateSinceUs_.reset();
        return;
    }
    if (!lateSinceUs_) {
        lateSinceUs_ = arrivalUs;
        earliestLateBound_ = bound;
        return;
    }
    earliestLateBound_ = std::min(earliestLateBound_, bound);
    if (arrivalUs - *lateSinceUs_ < kLateForUs) return;
    originUs_ = earliestLateBound_;
    lateSinceUs_.reset();
}

std::int64_t PreRollBuffer::FrameAt(std::int64_t timeUs) const {
    if (!timed_) return end_;
    const double frame = std::floor((static_cast<double>(timeUs) - originUs_) * rate_ / 1e6);
    return std::max(BeginFrame(), static_cast<std::int64_t>(frame));
}

std::vector<std::int16_t> PreRollBuffer::Since(std::int64_t from) const {
    std::vector<std::int16_t> out;
    from = std::max(from, BeginFrame());
    if (from >= end_) return out;
    out.reserve(static_cast<std::size_t>((end_ - from) * channels_));
    for (std::int64_t f = from; f < end_; ++f) {
        const auto at = ring_.begin() + (f % capacity_) * channels_;
        out.insert(out.end(), at, at + channels_);
    }
    return out;
}

}  // namespace quorvane
