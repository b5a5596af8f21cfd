// Placing a gauge's value label in the skin font: a value placed before (the
// kept raster is found) and a value never placed (laid out and rasterised),
// which is what a reading that wanders to new values costs at each tick.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>

#include "skin/skin_font.h"
#include "skin/text_cache.h"

namespace {

constexpr double kPoints = 7;
constexpr QRgb kColour = 0xCCC80000;
const QRectF kBox(20, 200, 36, 10);

void BM_KnownValue(benchmark::State& state) {
    const QString label = QStringLiteral("1037");
    skin::placeSkinText(kBox, label, kPoints, kColour);
    for (auto _ : state) benchmark::DoNotOptimize(skin::placeSkinText(kBox, label, kPoints, kColour));
}
BENCHMARK(BM_KnownValue)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_NewValue(benchmark::State& state) {
    int value = 0;
    for (auto _ : state) {
        // Emptied now and then, outside the timing, so every value is new.
        if (value % 512 == 0) {
            state.PauseTiming();
            skin::clearTextCache();
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(
            skin::placeSkinText(kBox, QString::number(1000 + value++ % 512), kPoints, kColour));
    }
}
BENCHMARK(BM_NewValue)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (chdir(RUNTIME_DIR) != 0) return 1;
    QApplication app(argc, argv);
    if (!skin::loadSkinFont(QStringLiteral("font/NEWSGOTL.ttf"))) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
