// One eye tick of the main window: the frame advance with its composition of
// what changed, then the two quick-sight samplings it triggers. "screen_bytes"
// is what each tick hands the window system: the repainted area at 4 bytes a pixel.
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
    dlg.SetQuickSight(0, int(state.range(0)));
    dlg.SetQuickSight(1, int(state.range(1)));
    const long long flushedBefore = dlg.FlushedPixels();
    const int paintsBefore = dlg.PaintCount();
    for (auto _ : state) {
        dlg.SendMessage(WM_TIMER, kEyeTimer);      // next frame, composed at once
        QCoreApplication::sendPostedEvents(&dlg);  // the eye's tick -> sampling
    }
    state.counters["paints"] =
        benchmark::Counter(double(dlg.PaintCount() - paintsBefore), benchmark::Counter::kAvgIterations);
    state.counters["screen_bytes"] = benchmark::Counter(4.0 * double(dlg.FlushedPixels() - flushedBefore),
                                                        benchmark::Counter::kAvgIterations);
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
