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
#include "support/main_window_probe.h"

namespace {

// Ticks the eye of a shown main window with quick-sight choices `left` and
// `right`; `beforeTick` runs before each tick.
template <typename BeforeTick>
void runEyeTicks(benchmark::State& state, int left, int right, BeforeTick beforeTick) {
    bench::Card card;
    CVantrelDlg dlg;
    dlg.Create();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();  // shown and exposed
    dlg.SetQuickSight(0, left);
    dlg.SetQuickSight(1, right);
    const long long flushedBefore = dlg.FlushedPixels();
    const int paintsBefore = dlg.PaintCount();
    for (auto _ : state) {
        beforeTick(dlg);
        dlg.SendMessage(WM_TIMER, kEyeTimer);      // next frame, composed at once
        QCoreApplication::sendPostedEvents(&dlg);  // the eye's tick -> sampling
    }
    state.counters["paints"] =
        benchmark::Counter(double(dlg.PaintCount() - paintsBefore), benchmark::Counter::kAvgIterations);
    state.counters["screen_bytes"] = benchmark::Counter(4.0 * double(dlg.FlushedPixels() - flushedBefore),
                                                        benchmark::Counter::kAvgIterations);
}

void BM_EyeTick(benchmark::State& state) {
    runEyeTicks(state, int(state.range(0)), int(state.range(1)), [](CVantrelDlg&) {});
}
// GPU clock + fan speed (the shipped choices); GPU clock + voltage (the P-state table read).
BENCHMARK(BM_EyeTick)->Args({0, 2})->Args({0, 5})->ArgNames({"left", "right"});

// Both readings move at every tick, as on a busy card, through values seen a
// while before (their texts are kept after the first round): GPU clock and fan speed.
void BM_EyeTickReadingsMoving(benchmark::State& state) {
    int tick = 0;
    runEyeTicks(state, 0, 2, [&](CVantrelDlg& dlg) {
        CVantrelDlgProbe::gauge(dlg, 0).SetPos(1000 + tick % 180);
        CVantrelDlgProbe::gauge(dlg, 1).SetPos(30 + tick * 7 % 60);
        ++tick;
    });
}
BENCHMARK(BM_EyeTickReadingsMoving);

void BM_QuickSightSample(benchmark::State& state) {
    bench::Card card;
    for (auto _ : state) benchmark::DoNotOptimize(app::sampleQuickSight(int(state.range(0))));
}
BENCHMARK(BM_QuickSightSample)->DenseRange(0, 5)->ArgNames({"choice"});

}  // namespace

int main(int argc, char** argv) {
    return bench::runMainWindowBenchmarks(argc, argv);
}
