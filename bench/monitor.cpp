// The monitor panel's hot paths on the simulated card: one sampling step with
// four quantities (readings, four samples with their repaints, one log row) and
// one drawing of a graph whose history is full.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cstdio>
#include <iostream>
#include <string>

#include "main_window_bench.h"
#include "monitor/monitor_dlg.h"
#include "monitor/monitor_log.h"
#include "monitor/sampler.h"
#include "monitor/sensor_source.h"

namespace {

// GPU clock, memory clock, temperature and usage, as shipped.
monitor::GraphSlots shippedSlots() {
    monitor::SensorEntries sensors{};
    for (int kind : {monitor::GPUClock, monitor::MemoryClock, monitor::GPUTemperature, monitor::GPUUsage})
        sensors[size_t(kind)] = {true, 12000, 0};
    return monitor::assignSlots(sensors);
}

std::string logPath() {
    return std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/vantrel-bench-monitor.txt";
}

// The whole step as the panel runs it: shown, so each sample repaints the panel.
void BM_SampleStep(benchmark::State& state) {
    bench::Card card;
    app::NoMainWindow noMainWindow;
    CMonitorDlg panel(noMainWindow);
    panel.Create();
    panel.KillTimer(kMonitorSampleTimer);
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    panel.SetLogging(state.range(0) != 0, QString::fromStdString(logPath()));
    const int paints = panel.PaintCount();
    for (auto _ : state) panel.SampleStep();
    state.counters["paints"] =
        benchmark::Counter(double(panel.PaintCount() - paints), benchmark::Counter::kAvgIterations);
    std::remove(logPath().c_str());
}
BENCHMARK(BM_SampleStep)->Arg(1)->Arg(0)->ArgNames({"log"});

// Without the window: the four readings and the log row.
void BM_ReadAndLog(benchmark::State& state) {
    bench::Card card;
    const monitor::GraphSlots graphSlots = shippedSlots();
    const monitor::SampleClock clock = monitor::systemClock();
    for (auto _ : state) {
        const monitor::SampleRow row = monitor::takeSample(graphSlots, clock, monitor::readSensor);
        monitor::appendLogRow(logPath(), row.time.dateTime, row.values);
    }
    std::remove(logPath().c_str());
}
BENCHMARK(BM_ReadAndLog);

// One graph with a full history drawn into the panel's picture.
void BM_GraphDraw(benchmark::State& state) {
    app::NoMainWindow noMainWindow;
    CMonitorDlg panel(
        noMainWindow, [] { return std::time_t(0); }, [](int32_t) { return 0; });
    panel.Create();
    panel.KillTimer(kMonitorSampleTimer);
    CWaveformDisplay& graph = panel.Graphs()[0];
    graph.SetRange(0, 100);
    for (int i = 0; i < graph.Capacity() + 10; ++i)
        graph.AddSample(50 + int(40 * ((i * 37) % 17 - 8) / 8.0), QStringLiteral("12:0:0"));
    graph.SetHover(state.range(0) != 0);
    graph.OnMouseMove(0, graph.Rect().right - 100, graph.Rect().top + 10);
    QImage image(kMonitorWidth, kMonitorHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    for (auto _ : state) {
        QPainter painter(&image);
        graph.Draw(&painter);
    }
    state.counters["samples"] = double(graph.Values().size());
}
BENCHMARK(BM_GraphDraw)->Arg(0)->Arg(1)->ArgNames({"cursor"});

// The whole panel composed (background, four graphs, their labels, the button).
void BM_PanelCompose(benchmark::State& state) {
    app::NoMainWindow noMainWindow;
    CMonitorDlg panel(
        noMainWindow, [] { return std::time_t(0); }, [](int32_t k) { return 30 + 5 * k; });
    panel.Create();
    panel.KillTimer(kMonitorSampleTimer);
    for (int i = 0; i < 300; ++i) panel.SampleStep();
    for (auto _ : state) benchmark::DoNotOptimize(panel.Compose().constBits());
}
BENCHMARK(BM_PanelCompose);

}  // namespace

int main(int argc, char** argv) {
    return bench::runMainWindowBenchmarks(argc, argv);
}
