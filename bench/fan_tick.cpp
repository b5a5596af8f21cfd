// One fan-curve tick: the level for a temperature (both forms), and the whole
// step on the simulated card (temperature read, level written).
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "fan/fan_curve.h"
#include "fan/fan_curve_controller.h"
#include "fan/gpu_fan_io.h"
#include "gpu/driver_binding.h"
#include "gpu/gpu_context.h"

namespace {

fan::FanCurve curve(int32_t form) {
    fan::FanCurve c;
    c.points = {{{30, 30}, {50, 40}, {60, 55}, {70, 60}, {75, 70}, {80, 80}, {85, 90}, {90, 100}}};
    c.blLine = form;
    return c;
}

void BM_LevelForTemperature(benchmark::State& state) {
    const fan::FanCurve c = curve(int32_t(state.range(0)));
    int32_t t = 20;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fan::levelForTemperature(c, t));
        t = t >= 95 ? 20 : t + 1;
    }
}
BENCHMARK(BM_LevelForTemperature)->Arg(0)->Arg(1)->ArgNames({"stepped"});

void BM_FanCurveStepOnSimulatedCard(benchmark::State& state) {
    gpu::DriverBinding::setLibraryPath(SIM_DRIVER_PATH);
    gpu::GpuContext context;
    gpu::GlobalContextScope scope(context);
    fan::GpuFanIo io;
    fan::FanCurveController controller(io);
    controller.setCurve(curve(0));
    for (auto _ : state) controller.step();
    io.restoreFanDefault();
}
BENCHMARK(BM_FanCurveStepOnSimulatedCard);

}  // namespace

int main(int argc, char** argv) {
    setenv("VANTREL_SIM_FROZEN", "1", 0);
    unsetenv("VANTREL_SIM_TRACE");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
