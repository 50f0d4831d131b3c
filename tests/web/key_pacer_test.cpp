#include "web/KeyPacer.h"

#include <gtest/gtest.h>

#include <vector>

#include "web/NoticeLimiter.h"

namespace quorvane {
namespace {

using Key = KeyPacer::Key;

// Every key Take gives from `from` to `to` ms, asked every millisecond.
std::vector<std::pair<std::int64_t, Key>> TakeAll(KeyPacer& pacer, std::int64_t from, std::int64_t to) {
    std::vector<std::pair<std::int64_t, Key>> taken;
    for (std::int64_t now = from; now <= to; ++now) {
        if (auto key = pacer.Take(now)) taken.emplace_back(now, std::move(*key));
    }
    return taken;
}

TEST(KeyPacer, AFloodIsCappedAndPlayedNoFasterThanTheSpacing) {
    KeyPacer pacer;
    int queued = 0;
    for (int i = 0; i < 5000; ++i) queued += pacer.Add(1, "key_" + std::to_string(i % 10)) ? 1 : 0;
    EXPECT_EQ(queued, static_cast<int>(kMostKeysPerClient));
    EXPECT_EQ(pacer.NextDueMs(), std::numeric_limits<std::int64_t>::min());  // the first goes at once
    const auto taken = TakeAll(pacer, 1000, 1000 + 60'000);
    ASSERT_EQ(taken.size(), kMostKeysPerClient);
    EXPECT_EQ(taken.front().first, 1000);
    for (size_t i = 1; i < taken.size(); ++i) EXPECT_EQ(taken[i].first - taken[i - 1].first, kRemoteKeySpacingMs);
    for (size_t i = 0; i < taken.size(); ++i) EXPECT_EQ(taken[i].second.name, "key_" + std::to_string(i % 10));
    EXPECT_FALSE(pacer.NextDueMs());
    EXPECT_TRUE(pacer.Add(1, "key_scan"));  // room again once played
}

TEST(KeyPacer, ClientsTakeTurnsSoAFloodNeverHoldsAnotherClientBack) {
    KeyPacer pacer;
    for (int i = 0; i < 40; ++i) pacer.Add(1, "key_1");
    ASSERT_TRUE(pacer.Take(0));
    ASSERT_TRUE(pacer.Add(2, "key_scan"));
    ASSERT_TRUE(pacer.Add(3, "key_hold"));
    const auto taken = TakeAll(pacer, 1, 4 * kRemoteKeySpacingMs);
    ASSERT_GE(taken.size(), 3u);
    EXPECT_EQ(taken[0], (std::pair<std::int64_t, Key>{kRemoteKeySpacingMs, Key{2, "key_scan"}}));
    EXPECT_EQ(taken[1], (std::pair<std::int64_t, Key>{2 * kRemoteKeySpacingMs, Key{3, "key_hold"}}));
    EXPECT_EQ(taken[2].second.client, 1u);
}

TEST(KeyPacer, AClientThatGoesTakesItsKeysWithIt) {
    KeyPacer pacer;
    for (int i = 0; i < 10; ++i) pacer.Add(7, "key_1");
    pacer.Add(8, "key_2");
    EXPECT_EQ(pacer.Queued(), 11u);
    pacer.Forget(7);
    EXPECT_EQ(pacer.Queued(7), 0u);
    const auto taken = TakeAll(pacer, 0, 1000);
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].second, (Key{8, "key_2"}));
    pacer.Forget(99);  // a client with nothing queued
    EXPECT_EQ(pacer.Queued(), 0u);
}

TEST(NoticeLimiter, SaysANoticeOnceAnIntervalWithHowOftenItCameMeanwhile) {
    NoticeLimiter limiter(60'000);
    struct Step {
        std::int64_t nowMs;
        std::optional<std::string> said;
    } steps[] = {
        {0, "no input"},
        {10, std::nullopt},
        {59'999, std::nullopt},
        {60'000, "no input (2 more times since it was last said)"},
        {70'000, std::nullopt},
        {130'000, "no input (1 more time since it was last said)"},
        {500'000, "no input"},
        {400'000, "no input"},  // a clock that went back never silences it for good
    };
    for (const Step& step : steps) EXPECT_EQ(limiter.Pass("no input", step.nowMs), step.said) << step.nowMs;
    // 500 failed Listens in a second write one line.
    NoticeLimiter burst(60'000);
    int lines = 0;
    for (int i = 0; i < 500; ++i) lines += burst.Pass("x", i * 2) ? 1 : 0;
    EXPECT_EQ(lines, 1);
}

}  // namespace
}  // namespace quorvane
