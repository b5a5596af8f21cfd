// The clock panel: from construction to its first composed frame (the card
// read, every control created, the 379 x 671 window composed), and one frame of
// a thumb drag (the value changes, the whole panel is composed again, the
// notification is handled; on the power slider that moves the linked
// temperature slider too).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <iostream>

#include "app/vantrel_dlg.h"
#include "main_window_bench.h"
#include "tuning/clock_set_dlg.h"

namespace {

// The main window the panel docks beside.
struct MainWindow {
    MainWindow() {
        dlg.Create();
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    }
    bench::Card card;
    CVantrelDlg dlg;
};

void BM_OpenClockPanel(benchmark::State& state) {
    MainWindow main;
    for (auto _ : state) {
        CClockSetDlg panel(main.dlg);
        panel.Create();
        benchmark::DoNotOptimize(panel.Compose().constBits());
        state.PauseTiming();
        panel.DestroyWindow();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenClockPanel)->Unit(benchmark::kMillisecond);

void BM_SliderDragFrame(benchmark::State& state) {
    MainWindow main;
    CClockSetDlg panel(main.dlg);
    panel.Create();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    CSuperSliders& slider =
        state.range(0) == 0 ? static_cast<CSuperSliders&>(panel.GpuClockSlider()) : panel.PowerSlider();
    const RECT thumb = slider.ThumbRect();
    const int y = (thumb.top + thumb.bottom) / 2;
    panel.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(thumb.left + 2, y));
    panel.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(thumb.left + 2, y));
    const int x0 = slider.Rect().left + 60, x1 = slider.Rect().left + 160;
    bool right = false;
    const int paints = panel.PaintCount();
    for (auto _ : state) {
        right = !right;
        panel.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(right ? x1 : x0, y));
        QCoreApplication::sendPostedEvents(&panel);  // the value-changed notification
    }
    state.counters["paints"] =
        benchmark::Counter(double(panel.PaintCount() - paints), benchmark::Counter::kAvgIterations);
    panel.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x0, y));
}
BENCHMARK(BM_SliderDragFrame)->Arg(0)->Arg(1)->ArgNames({"power"});

}  // namespace

int main(int argc, char** argv) {
    return bench::runMainWindowBenchmarks(argc, argv);
}
