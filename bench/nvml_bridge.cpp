// The NVML bridge's own cost per monitoring round: the ten readings through nvapi_QueryInterface
// on the fake NVML, against the same NVML calls made straight to the fake. The difference is
// the bridge's overhead; on real hardware each NVML call costs far more (tens of µs and up).
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

#include "fake_nvml.h"
#include "nvapi_contract.h"
#include "nvml_api.h"

using namespace nvapi;

namespace {

void* fakeLib = nullptr;
NvQueryInterfaceFn qi = nullptr;
NvPhysicalGpuHandle gpu = nullptr;
FakeNvmlState* fake = nullptr;

template <typename F>
F sym(const char* name) {
    auto f = reinterpret_cast<F>(dlsym(fakeLib, name));
    if (!f) std::abort();
    return f;
}

template <typename F>
F iface(uint32_t id) {
    auto f = reinterpret_cast<F>(qi(id));
    if (!f) std::abort();
    return f;
}

void setUp() {
    // Loaded by path first: the bridge's dlopen of libnvidia-ml.so.1 then finds it by its soname.
    fakeLib = dlopen(FAKE_NVML_PATH, RTLD_NOW | RTLD_GLOBAL);
    void* bridge = fakeLib ? dlopen(NVML_BRIDGE_PATH, RTLD_NOW | RTLD_LOCAL) : nullptr;
    if (!bridge) {
        std::fprintf(stderr, "%s\n", dlerror());
        std::exit(1);
    }
    fake = sym<FakeNvmlState* (*)()>("fakeNvmlState")();
    qi = reinterpret_cast<NvQueryInterfaceFn>(dlsym(bridge, NVAPI_QUERY_INTERFACE_SYMBOL));
    if (!qi || iface<InitializeFn>(ID_Initialize)() != OK) std::exit(1);
    NvPhysicalGpuHandle handles[MAX_PHYSICAL_GPUS];
    int32_t count = 0;
    iface<EnumPhysicalGPUsFn>(ID_EnumPhysicalGPUs)(handles, &count);
    gpu = handles[0];
}

void BM_BridgeRound(benchmark::State& state) {
    // Resolved once, as the program's binding caches them.
    const auto thermal = iface<GetThermalSettingsFn>(ID_GPU_GetThermalSettings);
    const auto clocks = iface<GetAllClockFrequenciesFn>(ID_GPU_GetAllClockFrequencies);
    const auto usage = iface<GetDynamicPstatesInfoExFn>(ID_GPU_GetDynamicPstatesInfoEx);
    const auto memory = iface<GetMemoryInfoFn>(ID_GPU_GetMemoryInfo);
    const auto voltage = iface<GetVoltageStatusFn>(ID_GPU_GetVoltageStatus);
    const auto pstates = iface<GetPstates20Fn>(ID_GPU_GetPstates20);
    const auto tach = iface<GetTachReadingFn>(ID_GPU_GetTachReading);
    const auto cooler = iface<GetCoolerSettingsFn>(ID_GPU_GetCoolerSettings);
    const auto topoInfo = iface<PowerTopologyGetInfoFn>(ID_GPU_PowerTopologyGetInfo);
    const auto topoStatus = iface<PowerTopologyGetStatusFn>(ID_GPU_PowerTopologyGetStatus);
    const auto policyInfo = iface<PowerPoliciesGetInfoFn>(ID_GPU_PowerPoliciesGetInfo);
    const auto policyStatus = iface<PowerPoliciesGetStatusFn>(ID_GPU_PowerPoliciesGetStatus);
    const unsigned long callsBefore = fake->calls;
    for (auto _ : state) {
        ThermalSettings t{};
        t.version = THERMAL_SETTINGS_VER;
        t.count = 3;
        thermal(gpu, 0, &t);
        ClockFrequencies c{};
        c.version = CLOCK_FREQUENCIES_VER;
        clocks(gpu, &c);
        DynamicPstatesInfo u{};
        u.version = DYNAMIC_PSTATES_VER;
        usage(gpu, &u);
        MemoryInfo m{};
        m.version = MEMORY_INFO_VER2;
        memory(nullptr, &m);
        VoltageStatus v{};
        v.version = VOLTAGE_STATUS_VER;
        voltage(gpu, &v);
        Pstates20Info p{};
        p.version = PSTATES20_VER2;
        pstates(gpu, &p);
        uint32_t rpm = 0;
        tach(gpu, &rpm);
        CoolerSettings cs{};
        cs.version = COOLER_SETTINGS_VER3;
        cooler(gpu, COOLER_TARGET_ALL, &cs);
        PowerTopologyInfo ti{};
        ti.version = POWER_TOPOLOGY_INFO_VER;
        topoInfo(gpu, &ti);
        PowerTopologyStatus ts{};
        ts.version = POWER_TOPOLOGY_STATUS_VER;
        ts.count = ti.count;
        topoStatus(gpu, &ts);
        PowerPolicyInfo pi{};
        pi.version = POWER_POLICY_INFO_VER;
        policyInfo(gpu, &pi);
        PowerPolicyStatus ps{};
        ps.version = POWER_POLICY_STATUS_VER;
        ps.count = pi.count;
        policyStatus(gpu, &ps);
        benchmark::DoNotOptimize(t);
        benchmark::DoNotOptimize(c);
        benchmark::DoNotOptimize(p);
        benchmark::DoNotOptimize(cs);
        benchmark::DoNotOptimize(ps);
    }
    state.counters["nvml_calls_per_round"] =
        static_cast<double>(fake->calls - callsBefore) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_BridgeRound);

// The NVML calls the bridge makes for one round (counted above), made directly.
void BM_DirectNvmlRound(benchmark::State& state) {
    nvmlDevice_t dev = nullptr;
    sym<nvml::GetHandleByIndexFn>("nvmlDeviceGetHandleByIndex_v2")(0, &dev);
    const auto temp = sym<nvml::GetTemperatureVFn>("nvmlDeviceGetTemperatureV");
    const auto clock = sym<nvml::GetClockFn>("nvmlDeviceGetClockInfo");
    const auto util = sym<nvml::GetUtilizationFn>("nvmlDeviceGetUtilizationRates");
    const auto mem = sym<nvml::GetMemoryInfoFn>("nvmlDeviceGetMemoryInfo");
    const auto p0 = sym<nvml::GetMinMaxClockOfPStateFn>("nvmlDeviceGetMinMaxClockOfPState");
    const auto offsets = sym<nvml::ClockOffsetsFn>("nvmlDeviceGetClockOffsets");
    const auto rpm = sym<nvml::GetFanSpeedRpmFn>("nvmlDeviceGetFanSpeedRPM");
    const auto fan = sym<nvml::GetFanUintFn>("nvmlDeviceGetFanSpeed_v2");
    const auto policy = sym<nvml::GetFanUintFn>("nvmlDeviceGetFanControlPolicy_v2");
    const auto usage = sym<nvml::GetUintFn>("nvmlDeviceGetPowerUsage");
    const auto limit = sym<nvml::GetUintFn>("nvmlDeviceGetPowerManagementLimit");
    for (auto _ : state) {
        unsigned a = 0, b = 0;
        nvmlTemperature_t t{nvml::TEMPERATURE_V1, nvml::TEMPERATURE_GPU, 0};
        temp(dev, &t);
        clock(dev, nvml::CLOCK_GRAPHICS, &a);
        clock(dev, nvml::CLOCK_MEM, &a);
        clock(dev, nvml::CLOCK_SM, &a);
        nvmlUtilization_t u{};
        util(dev, &u);
        nvmlMemory_t m{};
        mem(dev, &m);
        p0(dev, nvml::CLOCK_GRAPHICS, 0, &a, &b);
        p0(dev, nvml::CLOCK_MEM, 0, &a, &b);
        nvmlClockOffset_t gpc{nvml::CLOCK_OFFSET_V1, nvml::CLOCK_GRAPHICS, 0, 0, 0, 0};
        nvmlClockOffset_t mo{nvml::CLOCK_OFFSET_V1, nvml::CLOCK_MEM, 0, 0, 0, 0};
        offsets(dev, &gpc);
        offsets(dev, &mo);
        nvmlFanSpeedInfo_t r{nvml::FAN_SPEED_INFO_V1, 0, 0};
        rpm(dev, &r);
        for (unsigned f = 0; f < 2; ++f) {
            fan(dev, f, &a);
            policy(dev, f, &b);
        }
        usage(dev, &a);
        limit(dev, &b);
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        benchmark::DoNotOptimize(u);
        benchmark::DoNotOptimize(m);
        benchmark::DoNotOptimize(t);
        benchmark::DoNotOptimize(gpc);
        benchmark::DoNotOptimize(mo);
    }
}
BENCHMARK(BM_DirectNvmlRound);

}  // namespace

int main(int argc, char** argv) {
    setUp();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
