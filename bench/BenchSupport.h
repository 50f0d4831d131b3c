#pragma once
// What the benchmarks that drive the window on the simulator share.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace quorvane::bench {

// The value below which fraction of values lie (0: the least, 1: the most).
inline double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1))];
}

// Runs the event loop until condition holds or timeoutMs passed; the loop
// never sleeps past a timer of the window.
inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer waited;
    waited.start();
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (condition() || waited.elapsed() > timeoutMs) loop.quit();
    });
    check.start(1);
    loop.exec();
    return condition();
}

// A radio's scenario with a memory of 5 systems of 10 groups of 20
// channels (1000 in all), scanning quietly: what a harvest or a backup reads.
inline constexpr int kSystems = 5, kGroupsPerSystem = 10, kChannelsPerGroup = 20;
inline std::string ThousandChannelScenario() {
    std::string text = "once\nstep 1000 idle line1=\"  Scanning...   \"\n";
    int channel = 0;
    for (int s = 0; s < kSystems; ++s) {
        text += "system \"System " + std::to_string(s) + "\"\n";
        for (int g = 0; g < kGroupsPerSystem; ++g) {
            text += "group \"Group " + std::to_string(g) + "\"\n";
            for (int c = 0; c < kChannelsPerGroup; ++c, ++channel) {
                char digits[16];
                std::snprintf(digits, sizeof digits, "%04d%04d", 150 + channel / 100, (channel % 100) * 50);
                text += "channel \"Channel " + std::to_string(channel) + "\" " + digits + "\n";
            }
        }
    }
    return text;
}

}  // namespace quorvane::bench
