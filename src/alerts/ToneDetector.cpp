#include "alerts/ToneDetector.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quorvane {
namespace {

constexpr int kTargetRate = 8000;      // enough for tones up to 3.5 kHz
constexpr double kBlockSeconds = 0.25; // frequency resolution about 4 Hz
constexpr double kHopSeconds = 0.1;
constexpr double kBankSpan = 0.04;     // filters within 4 % of the tone
constexpr double kMatchWithin = 0.02;  // the tone found within 2 % of the watched one
constexpr double kLeastShare = 0.35;   // of the block's energy in the tone
constexpr int kFirstBlocks = 4;        // 0.25 s + 3 hops: about half a second of the first tone
constexpr int kSecondBlocks = 5;       // about 0.65 s of the second tone
constexpr int kMostGapBlocks = 5;      // between the first tone's end and the second's start

// The power at hz of a windowed block (Goertzel).
double PowerAt(const std::vector<float>& block, int rate, double hz) {
    const double coefficient = 2 * std::cos(2 * std::numbers::pi * hz / rate);
    double s1 = 0;
    double s2 = 0;
    for (const float x : block) {
        const double s = x + coefficient * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    return s1 * s1 + s2 * s2 - coefficient * s1 * s2;
}

}  // namespace

ToneDetector::Heard ToneDetector::Listen(const std::vector<float>& block, int rate, double toneHz) {
    Heard heard;
    const size_t n = block.size();
    if (n < 16 || rate <= 0 || toneHz <= 0 || toneHz * 2 >= rate) return heard;
    // Hann window; the energy of the windowed block is the scale a tone is
    // measured against: a pure tone of amplitude A has the power N^2 A^2 / 16
    // at its own frequency against 3 N A^2 / 16 of energy, so its share,
    // 3 * power / (N * energy), is 1.
    std::vector<float> windowed(n);
    double energy = 0;
    for (size_t i = 0; i < n; ++i) {
        const double w = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n));
        windowed[i] = static_cast<float>(block[i] * w);
        energy += static_cast<double>(windowed[i]) * windowed[i];
    }
    if (energy <= 0) return heard;
    // Filters half a resolution apart, so no tone falls between two.
    const double resolution = static_cast<double>(rate) / static_cast<double>(n);
    const double step = std::min(resolution / 2, toneHz * 0.005);
    const int half = static_cast<int>(std::ceil(toneHz * kBankSpan / step));
    std::vector<double> powers(static_cast<size_t>(2 * half + 1));
    size_t best = 0;
    for (int k = -half; k <= half; ++k) {
        const size_t i = static_cast<size_t>(k + half);
        powers[i] = PowerAt(windowed, rate, toneHz + k * step);
        if (powers[i] > powers[best]) best = i;
    }
    heard.share = 3 * powers[best] / (static_cast<double>(n) * energy);
    // The strongest filter at the edge of the bank: the tone lies beyond it.
    if (best == 0 || best + 1 == powers.size()) return heard;
    // The peak between the neighbours: a parabola through the logarithms.
    const double a = std::log(powers[best - 1] + 1e-30);
    const double b = std::log(powers[best] + 1e-30);
    const double c = std::log(powers[best + 1] + 1e-30);
    const double denominator = a - 2 * b + c;
    const double offset = denominator < 0 ? std::clamp(0.5 * (a - c) / denominator, -0.5, 0.5) : 0.0;
    heard.hz = toneHz + (static_cast<double>(best) - half + offset) * step;
    heard.present = heard.share >= kLeastShare && std::abs(heard.hz / toneHz - 1) <= kMatchWithin;
    return heard;
}

void ToneDetector::Reset() {
    progress_.assign(watches_.size(), Progress{});
    filled_ = next_ = sinceBlock_ = 0;
    sum_ = 0;
    summed_ = 0;
}

std::vector<size_t> ToneDetector::Feed(const std::int16_t* samples, std::int64_t frames, int sampleRate,
                                       int channels) {
    std::vector<size_t> found;
    if (watches_.empty() || samples == nullptr || frames <= 0 || sampleRate <= 0 || channels <= 0) return found;
    if (sampleRate != inputRate_) {
        inputRate_ = sampleRate;
        factor_ = std::max(1, sampleRate / kTargetRate);
        rate_ = sampleRate / factor_;
        ring_.assign(static_cast<size_t>(rate_ * kBlockSeconds), 0.0f);
        block_.resize(ring_.size());
        Reset();
    }
    const size_t hop = static_cast<size_t>(rate_ * kHopSeconds);
    for (std::int64_t f = 0; f < frames; ++f) {
        double mono = 0;
        for (int c = 0; c < channels; ++c) mono += samples[f * channels + c];
        sum_ += mono / (channels * 32768.0);
        if (++summed_ < factor_) continue;
        ring_[next_] = static_cast<float>(sum_ / factor_);
        next_ = (next_ + 1) % ring_.size();
        sum_ = 0;
        summed_ = 0;
        filled_ = std::min(filled_ + 1, ring_.size());
        if (filled_ < ring_.size() || ++sinceBlock_ < hop) continue;
        sinceBlock_ = 0;
        const size_t before = progress_.size();
        std::vector<bool> was(before);
        for (size_t i = 0; i < before; ++i) was[i] = progress_[i].found;
        Analyse();
        for (size_t i = 0; i < before; ++i) {
            if (progress_[i].found && !was[i]) found.push_back(i);
        }
    }
    return found;
}

void ToneDetector::Analyse() {
    for (size_t i = 0; i < ring_.size(); ++i) block_[i] = ring_[(next_ + i) % ring_.size()];
    for (size_t w = 0; w < watches_.size(); ++w) {
        Progress& p = progress_[w];
        if (p.found) continue;
        const bool first = Listen(block_, rate_, watches_[w].FirstHz).present;
        const bool second = Listen(block_, rate_, watches_[w].SecondHz).present;
        if (first && !second) {
            ++p.firstBlocks;
            if (p.firstBlocks >= kFirstBlocks) p.sinceFirst = 0;
            p.secondBlocks = 0;
            continue;
        }
        p.firstBlocks = 0;
        if (second && p.sinceFirst <= kMostGapBlocks + p.secondBlocks) {
            if (++p.secondBlocks >= kSecondBlocks) p.found = true;
        } else {
            p.secondBlocks = 0;
        }
        ++p.sinceFirst;
    }
}

}  // namespace quorvane
