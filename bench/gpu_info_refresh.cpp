// One one-second refresh of the GPU information panel docked under the main
// window: the live clock query (bus width and the P-state table) and the
// composition of the 475 x 238 panel. The query and the repaint alone as well.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <iostream>

#include "app/vantrel_dlg.h"
#include "gpu/information.h"
#include "info/gpu_info_dlg.h"
#include "main_window_bench.h"

namespace {

struct DockedPanel {
    DockedPanel() : panel(main) {
        main.Create();
        panel.Create();
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();  // shown and exposed
    }
    CVantrelDlg main;
    CGpuInfoDlg panel;
};

void BM_GpuInfoRefresh(benchmark::State& state) {
    bench::Card card;
    DockedPanel docked;
    const int paintsBefore = docked.panel.PaintCount();
    for (auto _ : state) docked.panel.SendMessage(WM_TIMER, kGpuInfoTimer);
    state.counters["paints"] = benchmark::Counter(double(docked.panel.PaintCount() - paintsBefore),
                                                  benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_GpuInfoRefresh)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);

void BM_LiveClockQuery(benchmark::State& state) {
    bench::Card card;
    std::vector<std::string> info;
    gpu::queryGpuInformation(gpu::globalContext(),
                             info);  // the memory data rate, as the panel's start sets it
    for (auto _ : state) {
        std::vector<std::string> live;
        gpu::queryLiveClockInformation(live);
        benchmark::DoNotOptimize(live.data());
    }
}
BENCHMARK(BM_LiveClockQuery)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);

void BM_GpuInfoCompose(benchmark::State& state) {
    bench::Card card;
    DockedPanel docked;
    for (auto _ : state) benchmark::DoNotOptimize(docked.panel.Compose().constBits());
}
BENCHMARK(BM_GpuInfoCompose)->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    return bench::runMainWindowBenchmarks(argc, argv);
}
