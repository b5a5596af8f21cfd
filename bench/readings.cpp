// One round of the monitored readings through the binding, on the simulated card
// and on a driver whose functions return at once (the binding's and the GPU
// layer's own cost). Standard output goes to /dev/null, fully buffered: the
// diagnostic lines are still formatted, as in the program, but not displayed.
#include "gpu/readings.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "gpu/driver_binding.h"
#include "gpu/gpu_context.h"

namespace {

void readingRound(const gpu::GpuContext& context) {
    int32_t clocks[3] = {}, temperature[3] = {}, usage[2] = {}, memory[3] = {}, voltage[4] = {}, fan[4] = {},
            power[5] = {};
    benchmark::DoNotOptimize(gpu::readClocks(context, clocks, 0));
    benchmark::DoNotOptimize(gpu::readGpuTemperature(temperature));
    benchmark::DoNotOptimize(gpu::readGpuUsage(usage));
    benchmark::DoNotOptimize(gpu::readMemoryUsage(memory));
    benchmark::DoNotOptimize(gpu::readVoltage(voltage));
    benchmark::DoNotOptimize(gpu::readFanStatus(fan));
    benchmark::DoNotOptimize(gpu::readPowerStatus(power));
    benchmark::ClobberMemory();
}

void roundOn(benchmark::State& state, const char* library) {
    gpu::DriverBinding::setLibraryPath(library);
    gpu::GpuContext context;
    gpu::GlobalContextScope global(context);
    if (context.count == 0) state.SkipWithError("no GPU");
    for (auto _ : state) readingRound(context);
}

void BM_ReadingRound_SimulatedCard(benchmark::State& state) {
    roundOn(state, SIM_DRIVER_PATH);
}
void BM_ReadingRound_ImmediateDriver(benchmark::State& state) {
    roundOn(state, TEST_DRIVER_PATH);
}

// One resolved call: the cache check plus an indirect call that returns at once.
void BM_ResolvedCall(benchmark::State& state) {
    gpu::DriverBinding::setLibraryPath(TEST_DRIVER_PATH);
    uint32_t rpm = 0;
    for (auto _ : state) benchmark::DoNotOptimize(gpu::nvCall<nvapi::ID_GPU_GetTachReading>(nullptr, &rpm));
}

// Unload, then the first call after it: dlopen, initialise, resolve.
void BM_UnloadAndReload(benchmark::State& state) {
    gpu::DriverBinding::setLibraryPath(TEST_DRIVER_PATH);
    uint32_t rpm = 0;
    for (auto _ : state) {
        gpu::DriverBinding::unload();
        benchmark::DoNotOptimize(gpu::nvCall<nvapi::ID_GPU_GetTachReading>(nullptr, &rpm));
    }
}

BENCHMARK(BM_ReadingRound_SimulatedCard);
BENCHMARK(BM_ReadingRound_ImmediateDriver);
BENCHMARK(BM_ResolvedCall);
BENCHMARK(BM_UnloadAndReload);

}  // namespace

int main(int argc, char** argv) {
    setenv("VANTREL_SIM_FROZEN", "1", 0);
    // The benchmark's own report goes to stderr; the layer's lines to /dev/null.
    if (!std::freopen("/dev/null", "w", stdout)) return 1;
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    benchmark::Initialize(&argc, argv);
    benchmark::AddCustomContext("stdout", "/dev/null, fully buffered");
    benchmark::ConsoleReporter reporter;
    reporter.SetOutputStream(&std::cerr);
    reporter.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
