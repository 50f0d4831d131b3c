#include "alerts/ToneDetector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <random>
#include <vector>

namespace quorvane {
namespace {

struct Segment {
    double hz;  // 0: noise alone
    double seconds;
};

// The audio of a page as a scanner passes it on: the segments one after the
// other (amplitude 0.3 of full scale) in white noise at the given ratio of
// tone power to noise power, on every channel alike.
std::vector<std::int16_t> Audio(const std::vector<Segment>& segments, int rate, int channels, double snrDb,
                                unsigned seed = 7) {
    constexpr double kAmplitude = 0.3;
    const double noise = std::sqrt(kAmplitude * kAmplitude / 2 / std::pow(10.0, snrDb / 10));
    std::mt19937 random(seed);
    std::normal_distribution<double> gauss(0, noise);
    std::vector<std::int16_t> samples;
    double phase = 0;
    for (const Segment& segment : segments) {
        const auto frames = static_cast<long>(segment.seconds * rate);
        for (long i = 0; i < frames; ++i) {
            phase += 2 * std::numbers::pi * segment.hz / rate;
            const double x = (segment.hz > 0 ? kAmplitude * std::sin(phase) : 0.0) + gauss(random);
            const auto value = static_cast<std::int16_t>(std::clamp(x, -1.0, 1.0) * 32767);
            for (int c = 0; c < channels; ++c) samples.push_back(value);
        }
    }
    return samples;
}

// Feeds the audio in blocks of 20 ms, as the sound input hands it over; the
// time (s) at which the first page was found, if any.
std::optional<double> FoundAt(ToneDetector& detector, const std::vector<std::int16_t>& samples, int rate,
                              int channels) {
    const long block = rate / 50;
    const long frames = static_cast<long>(samples.size()) / channels;
    for (long at = 0; at < frames; at += block) {
        const long n = std::min(block, frames - at);
        if (!detector.Feed(samples.data() + at * channels, n, rate, channels).empty()) {
            return static_cast<double>(at + n) / rate;
        }
    }
    return std::nullopt;
}

TEST(ToneDetector, FindsAPageSoonAfterItsSecondToneStartsAndNeverANeighbouringPair) {
    const ToneWatch station5{349.0, 433.7, "Station 5"};
    const ToneWatch high{1530.0, 2468.2, "High"};
    const struct {
        const char* what;
        ToneWatch watch;
        std::vector<Segment> audio;  // after 0.5 s of noise
        int rate;
        int channels;
        bool found;
    } cases[] = {
        {"exact tones", station5, {{349.0, 1.0}, {433.7, 3.0}}, 48000, 1, true},
        {"1 % off, stereo at 44.1 kHz", station5, {{349.0 * 1.01, 1.0}, {433.7 * 0.99, 3.0}}, 44100, 2, true},
        {"high tones 1 % off", high, {{1530.0 * 0.99, 1.0}, {2468.2 * 1.01, 3.0}}, 48000, 1, true},
        {"short first tone", station5, {{349.0, 0.7}, {433.7, 3.0}}, 16000, 1, true},
        {"3 % off: the neighbouring pair", station5, {{349.0 * 1.03, 1.0}, {433.7 * 1.03, 3.0}}, 48000, 1, false},
        {"second tone 3 % off", station5, {{349.0, 1.0}, {433.7 * 0.97, 3.0}}, 48000, 1, false},
        {"high tones 3 % off", high, {{1530.0 * 1.03, 1.0}, {2468.2 * 0.97, 3.0}}, 48000, 1, false},
        {"the tones the other way round", station5, {{433.7, 1.0}, {349.0, 3.0}}, 48000, 1, false},
        {"first tone alone", station5, {{349.0, 4.0}}, 48000, 1, false},
        {"second tone alone", station5, {{433.7, 4.0}}, 48000, 1, false},
        {"a long gap between them", station5, {{349.0, 1.0}, {0, 1.5}, {433.7, 3.0}}, 48000, 1, false},
        {"noise alone", station5, {{0, 4.0}}, 48000, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Segment> segments{{0, 0.5}};
        segments.insert(segments.end(), c.audio.begin(), c.audio.end());
        double secondStart = 0.5;
        for (size_t i = 0; i + 1 < c.audio.size(); ++i) secondStart += c.audio[i].seconds;
        ToneDetector detector({c.watch});
        const std::optional<double> at = FoundAt(detector, Audio(segments, c.rate, c.channels, 10.0), c.rate, c.channels);
        EXPECT_EQ(at.has_value(), c.found);
        if (at && c.found) {
            EXPECT_GT(*at, secondStart);
            EXPECT_LE(*at, secondStart + 1.5);
        }
    }
}

TEST(ToneDetector, TellsPagesApartFindsEachOnceAndForgetsAtANewHit) {
    ToneDetector detector({{349.0, 433.7, "Station 5"}, {433.7, 559.0, "Station 9"}, {600.9, 707.3, "EMS"}});
    const int rate = 48000;
    const auto page = Audio({{0, 0.3}, {433.7, 1.0}, {559.0, 3.0}, {0, 0.5}}, rate, 1, 10.0);
    std::vector<size_t> found;
    for (size_t at = 0; at < page.size(); at += 960) {
        const auto n = static_cast<std::int64_t>(std::min<size_t>(960, page.size() - at));
        for (size_t index : detector.Feed(page.data() + at, n, rate, 1)) found.push_back(index);
    }
    EXPECT_EQ(found, std::vector<size_t>{1});
    // The same page again in the same hit says nothing more; after a new hit it does.
    EXPECT_FALSE(FoundAt(detector, page, rate, 1).has_value());
    detector.Reset();
    EXPECT_TRUE(FoundAt(detector, page, rate, 1).has_value());
}

TEST(ToneDetector, MeasuresAToneWithinAFewTenthsOfAHertz) {
    const int rate = 8000;
    for (const double hz : {288.5, 433.7, 1092.4, 2468.2, 3200.0}) {
        const auto samples = Audio({{hz * 1.012, 0.25}}, rate, 1, 10.0, 3);
        std::vector<float> block(samples.begin(), samples.end());
        for (float& x : block) x /= 32768.0f;
        const ToneDetector::Heard heard = ToneDetector::Listen(block, rate, hz);
        SCOPED_TRACE(hz);
        EXPECT_TRUE(heard.present);
        EXPECT_NEAR(heard.hz, hz * 1.012, 0.003 * hz);
        EXPECT_GT(heard.share, 0.5);
    }
}

}  // namespace
}  // namespace quorvane
