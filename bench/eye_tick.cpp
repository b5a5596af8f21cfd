// One eye tick of the main window: the frame advance with its composition of the
// whole 475 x 440 window, then the two quick-sight samplings it triggers.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/quick_sight.h"
#include "app/vantrel_dlg.h"
#include "gpu/driver_binding.h"
#include "gpu/gpu_context.h"
#include "settings/settings_location.h"

namespace {

struct Card {
    Card() : scope(context) {}
    gpu::GpuContext context;
    gpu::GlobalContextScope scope;
};

void BM_EyeTick(benchmark::State& state) {
    Card card;
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
    Card card;
    for (auto _ : state) benchmark::DoNotOptimize(app::sampleQuickSight(int(state.range(0))));
}
BENCHMARK(BM_QuickSightSample)->DenseRange(0, 5)->ArgNames({"choice"});

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("VANTREL_SIM_FROZEN", "1", 0);
    unsetenv("VANTREL_SIM_TRACE");
    gpu::DriverBinding::setLibraryPath(SIM_DRIVER_PATH);
    // Pictures and font from the runtime folder; the settings in a folder of our own.
    if (chdir(RUNTIME_DIR) != 0) return 1;
    char dir[] = "/tmp/vantrel-bench-XXXXXX";
    if (!mkdtemp(dir)) return 1;
    settings::setDocumentFolder(dir);
    // The power reading's progress lines: to /dev/null, fully buffered.
    if (!std::freopen("/dev/null", "w", stdout)) return 1;
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove((std::string(dir) + "/Vantrel.xml").c_str());
    rmdir(dir);
    return 0;
}
