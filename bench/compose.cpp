// One composition of the whole 475 x 440 main window (background, eye, buttons,
// both gauges with their labels), with the picture cache on and off. Off, every
// picture is decoded again at each lookup. Prints the medians and their ratio.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "app/vantrel_dlg.h"
#include "main_window_bench.h"
#include "skin/picture_cache.h"
#include "support/main_window_probe.h"

namespace {

void BM_Compose(benchmark::State& state) {
    const bool cached = state.range(0) != 0;
    bench::Card card;
    CVantrelDlg dlg;
    dlg.Create();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();  // shown and exposed
    // Values on both gauges, so the value labels are drawn too.
    CVantrelDlgProbe::gauge(dlg, 0).SetPos(dlg.Gauge(0).Max() / 2);
    CVantrelDlgProbe::gauge(dlg, 1).SetPos(dlg.Gauge(1).Max() / 3);
    skin::PictureCache& pictures = skin::PictureCache::instance();
    pictures.setEnabled(cached);
    dlg.Compose();  // the cache filled, the glyphs rendered once
    const size_t decodesBefore = pictures.decodeCount();
    for (auto _ : state) benchmark::DoNotOptimize(dlg.Compose().constBits());
    state.counters["decodes"] = benchmark::Counter(double(pictures.decodeCount() - decodesBefore),
                                                   benchmark::Counter::kAvgIterations);
    pictures.setEnabled(true);
}
BENCHMARK(BM_Compose)
    ->Arg(1)
    ->Arg(0)
    ->ArgName("cached")
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

// The console report, plus the medians of both runs and their ratio at the end.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.aggregate_name == "median") m_medians[run.run_name.args] = run.GetAdjustedRealTime();
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto cached = m_medians.find("cached:1");
        const auto uncached = m_medians.find("cached:0");
        if (cached == m_medians.end() || uncached == m_medians.end() || cached->second <= 0) return;
        std::fprintf(stderr, "\nmedian per composition: cached %.1f us, uncached %.1f us, ratio %.1fx\n",
                     cached->second, uncached->second, uncached->second / cached->second);
    }

  private:
    std::map<std::string, double> m_medians;
};

}  // namespace

int main(int argc, char** argv) {
    bench::MainWindowEnvironment environment;
    if (!environment.ok()) return 1;
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
