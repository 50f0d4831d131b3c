// Logging one hit into a log of 1500 lines, everything the window does for
// it: the log text and its row, the log file rewritten whole, the row put on
// top of the grid, and the grid painted.
#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTableView>

#include "monitor/qt/HitLog.h"
#include "window/Form1.h"
#include "window/Station.h"

namespace {

std::string HitLine(int n) {
    return "County / Fire\tDispatch " + std::to_string(n) + "\t 154.4300\t 100.0\t2:51:13 PM\t2:51:40 PM\t12-04-2026\r\n";
}

void BM_LogOneHitInto1500Lines(benchmark::State& state) {
    QTemporaryDir folder;
    QFile pgm(folder.path() + "/pgm_settings.txt");
    pgm.open(QIODevice::WriteOnly);
    pgm.write("0\r\n0\r\n1\r\n0\r\n37\r\n37\r\n1\r\n0\r\n0\r\n\"\"\r\n4\r\n");  // Log To Text File ticked
    pgm.close();
    quorvane::Form1 form(folder.path());
    form.show();
    for (int i = 0; i < 1500; ++i) form.Scanner().Log().Add(HitLine(i));
    auto* grid = form.findChild<QTableView*>("grdInfo");
    int n = 1500;
    for (auto _ : state) {
        form.Scanner().Log().Add(HitLine(n++));
        grid->viewport()->repaint();  // paint now, not at the next event-loop turn
        state.PauseTiming();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LogOneHitInto1500Lines)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace

int main(int argc, char** argv) {
    return quorvane::bench::RunBenchmarks(argc, argv);
}
