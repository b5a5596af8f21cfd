// The cost of sending a write to vantreld: one fan-level write (the fan curve's tick) through
// the bridge in this process, against the same write forwarded over the service's socket, where
// the service checks it against the card's cooler table before writing. Both on the fake NVML.
// Then what `vantrel --set power=N` costs inside the process: the power write forwarded, and the
// same value kept by the service (checked, written, and its kept file replaced and synced).
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "nvapi_contract.h"

using namespace nvapi;

namespace {

NvQueryInterfaceFn qi = nullptr;
NvPhysicalGpuHandle gpu = nullptr;
std::string socketPath;

void writeLoop(benchmark::State& state) {
    const auto set = reinterpret_cast<SetCoolerLevelsFn>(qi(ID_GPU_SetCoolerLevels));
    CoolerLevels l{};
    l.version = COOLER_LEVELS_VER;
    uint32_t n = 0;
    for (auto _ : state) {
        l.cooler[0] = {50 + (n++ & 1), COOLER_POLICY_MANUAL};
        if (set(gpu, COOLER_TARGET_ALL, &l) != OK) {
            state.SkipWithError("write failed");
            break;
        }
    }
}

void BM_InProcessWrite(benchmark::State& state) {
    ::setenv("VANTREL_SERVICE_SOCKET", "", 1);
    writeLoop(state);
}
BENCHMARK(BM_InProcessWrite);

// Runs after the in-process one: once connected, the bridge keeps its connection.
void BM_ForwardedWrite(benchmark::State& state) {
    ::setenv("VANTREL_SERVICE_SOCKET", socketPath.c_str(), 1);
    writeLoop(state);
}
BENCHMARK(BM_ForwardedWrite);

void BM_ForwardedPowerWrite(benchmark::State& state) {
    const auto set = reinterpret_cast<PowerPoliciesSetStatusFn>(qi(ID_GPU_PowerPoliciesSetStatus));
    PowerPolicyStatus s{};
    s.version = POWER_POLICY_STATUS_VER;
    s.count = 1;
    uint32_t n = 0;
    for (auto _ : state) {
        s.entry[0].power = 90000 + (n++ & 1) * 1000;
        if (set(gpu, &s) != OK) {
            state.SkipWithError("write failed");
            break;
        }
    }
}
BENCHMARK(BM_ForwardedPowerWrite);

void BM_KeptPowerTarget(benchmark::State& state) {
    const auto keep = reinterpret_cast<KeepSettingsFn>(qi(ID_VT_GPU_KeepSettings));
    KeptSettings k{};
    k.version = KEPT_SETTINGS_VER;
    k.fields = KEPT_POWER;
    uint32_t n = 0;
    for (auto _ : state) {
        k.power = 90000 + (n++ & 1) * 1000;
        if (keep(gpu, &k) != OK) {
            state.SkipWithError("keep failed");
            break;
        }
    }
}
BENCHMARK(BM_KeptPowerTarget);

pid_t startService(const std::string& dir) {
    socketPath = dir + "/vantreld.sock";
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 2);
        const std::string fake = FAKE_NVML_PATH;
        ::setenv("LD_LIBRARY_PATH", fake.substr(0, fake.rfind('/')).c_str(), 1);
        ::setenv("VANTREL_SERVICE_STATE", (dir + "/kept").c_str(), 1);
        ::execl(VANTRELD_PATH, "vantreld", "--socket", socketPath.c_str(), "--group", "", "--state-dir",
                dir.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    for (int i = 0; i < 500 && ::access(socketPath.c_str(), F_OK) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return pid;
}

}  // namespace

int main(int argc, char** argv) {
    char tmpl[] = "/tmp/vantrel-bench-XXXXXX";
    const std::string dir = ::mkdtemp(tmpl);
    const pid_t service = startService(dir);
    // Loaded by path first: the bridge's dlopen of libnvidia-ml.so.1 then finds it by its soname.
    void* fake = dlopen(FAKE_NVML_PATH, RTLD_NOW | RTLD_GLOBAL);
    void* bridge = fake ? dlopen(NVML_BRIDGE_PATH, RTLD_NOW | RTLD_LOCAL) : nullptr;
    qi = bridge ? reinterpret_cast<NvQueryInterfaceFn>(dlsym(bridge, NVAPI_QUERY_INTERFACE_SYMBOL)) : nullptr;
    NvPhysicalGpuHandle handles[MAX_PHYSICAL_GPUS];
    int32_t count = 0;
    if (!qi || reinterpret_cast<InitializeFn>(qi(ID_Initialize))() != OK ||
        reinterpret_cast<EnumPhysicalGPUsFn>(qi(ID_EnumPhysicalGPUs))(handles, &count) != OK) {
        std::fprintf(stderr, "bench_service_write: no bridge on the fake NVML\n");
        return 1;
    }
    gpu = handles[0];
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    reinterpret_cast<UnloadFn>(qi(ID_Unload))();
    ::kill(service, SIGTERM);
    ::waitpid(service, nullptr, 0);
    std::system(("rm -rf '" + dir + "'").c_str());
    return 0;
}
