#pragma once
// The main of a benchmark that needs Qt's event loop (timers, sockets, the
// sound input or the window; offscreen unless a platform is chosen).
#include <QApplication>
#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace quorvane::bench {

template <typename Application = QApplication>
int RunBenchmarks(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace quorvane::bench
