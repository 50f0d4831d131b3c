#pragma once
// The one QApplication of a Qt test program (offscreen), made on first use,
// and waiting on a condition with a deadline.
#include <QApplication>
#include <QTest>
#include <functional>

namespace quorvane::test {

inline QApplication& QtApp() {
    static int argc = 1;
    static char name[] = "quorvane_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
    }
    return *qApp;
}

inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000) {
    return QTest::qWaitFor(condition, timeoutMs);
}

}  // namespace quorvane::test
