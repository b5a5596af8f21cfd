// One eye tick of the main window: the frame advance with its composition of the
// whole 475 x 440 window, then the two quick-sight samplings it triggers.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "app/quick_sight.h"
#include "app/vantrel_dlg.h"
#include "main_window_bench.h"

namespace {

void BM_EyeTick(benchmark::State& state) {
    bench::Card card;
    CVantrelDlg dlg;
    dlg.Create();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();  // shown and exposed
    dlg.m_nLeftSight = int(state.range(0));
    dlg.m_nRightSight = int(state.range(1));
    for (auto _ : state) {
        dlg.SendMessage(WM_TIMER, kEyeTimer);      // next frame, composed at once
        QCoreApplication::sendPostedEvents(&dlg);  // the eye's tick -> sampling
    }
    state.counters["paints"] =
        benchmark::Counter(double(dlg.PaintCount()), benchmark::Counter::kAvgIterations);
}
// GPU clock + fan speed (the shipped choices); GPU clock + voltage (the P-state table read).
BENCHMARK(BM_EyeTick)->Args({0, 2})->Args({0, 5})->ArgNames({"left", "right"});

void BM_QuickSightSample(benchmark::State& state) {
    bench::Card card;
    for (auto _ : state) benchmark::DoNotOptimize(app::sampleQuickSight(int(state.range(0))));
}
BENCHMARK(BM_QuickSightSample)->DenseRange(0, 5)->ArgNames({"choice"});

}  // namespace

int main(int argc, char** argv) {
    return bench::runMainWindowBenchmarks(argc, argv);
}
