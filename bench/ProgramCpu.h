#pragma once
// What the benchmarks that run the real program in a folder of their own share.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <benchmark/benchmark.h>

#include <functional>
#include <optional>
#include <vector>

namespace quorvane::bench {

inline bool WriteText(const QString& path, const QByteArray& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// Nanoseconds of CPU that every thread of pid has used (from
// /proc/PID/task/*/schedstat); nothing once the process is gone.
inline std::optional<long long> CpuNs(qint64 pid) {
    const QDir tasks(QString("/proc/%1/task").arg(pid));
    if (!tasks.exists()) return std::nullopt;
    long long total = 0;
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks.filePath(task + "/schedstat"));
        if (!stat.open(QIODevice::ReadOnly)) continue;  // a thread that just ended
        total += stat.readAll().split(' ').value(0).toLongLong();
    }
    return total;
}

// Runs the benchmarks after taking --seconds=N and --rounds=N (and what
// other takes) off the command line.
inline int RunTimedBenchmarks(int argc, char** argv, int& seconds, int& rounds,
                              const std::function<bool(const QString&)>& other = {}) {
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.startsWith("--seconds=")) {
            seconds = qMax(1, arg.mid(10).toInt());
        } else if (arg.startsWith("--rounds=")) {
            rounds = qMax(1, arg.mid(9).toInt());
        } else if (!other || !other(arg)) {
            rest.push_back(argv[i]);
        }
    }
    int restCount = static_cast<int>(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace quorvane::bench
