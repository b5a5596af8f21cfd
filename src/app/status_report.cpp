#include "app/status_report.h"

#include <string>
#include <vector>

#include "app/startup.h"
#include "gpu/driver_binding.h"
#include "gpu/information.h"
#include "gpu/readings.h"

namespace app {
namespace {

constexpr const char* kInformationLabels[gpu::kInformationCount] = {
    "Name",       "(blank)",      "Memory size",      "Memory type", "GPU clock",
    "Base clock", "Driver",       "Chipset",          "(blank)",     "Memory bus width",
    "Bandwidth",  "Memory clock", "Memory clock max", "Video BIOS"};

// Every value is read first, so that the GPU layer's own diagnostic lines come
// before the block instead of between its lines.
struct Snapshot {
    int32_t temperature[3] = {};
    int32_t temperatureResult = 0;
    int32_t clocks[3] = {};
    bool clocksOk = false;
    int32_t baseClocks[3] = {};
    bool baseClocksOk = false;
    int32_t usage[2] = {};
    bool usageOk = false;
    int32_t memory[3] = {};
    bool memoryOk = false;
    int32_t voltage[4] = {};
    bool voltageOk = false;
    int32_t fan[4] = {};
    bool fanOk = false;
    int32_t power[5] = {};
    bool powerOk = false;
    std::vector<std::string> information;
    std::vector<std::string> names;  // of every enumerated GPU
};

Snapshot takeSnapshot(gpu::GpuContext& context) {
    Snapshot s;
    s.temperatureResult = gpu::readGpuTemperature(s.temperature);
    s.clocksOk = gpu::readClocks(context, s.clocks, 0);
    s.baseClocksOk = gpu::readClocks(context, s.baseClocks, 1);
    s.usageOk = gpu::readGpuUsage(s.usage);
    s.memoryOk = gpu::readMemoryUsage(s.memory);
    s.voltageOk = gpu::readVoltage(s.voltage);
    s.fanOk = gpu::readFanStatus(s.fan);
    s.powerOk = gpu::readPowerStatus(s.power);
    gpu::queryGpuInformation(context, s.information);
    for (int i = 0; i < context.count; ++i) s.names.push_back(gpu::readGpuName(context.handles[i]));
    return s;
}

void printSnapshot(std::FILE* out, const gpu::GpuContext& context, const Snapshot& s) {
    const char* unavailable = "unavailable";
    std::fprintf(out, "\n== Vantrel status ==\n");
    std::fprintf(out, "Driver library: %s\n", gpu::DriverBinding::libraryPath().c_str());
    std::fprintf(out, "GPUs: %d, in use: %d\n", context.count, context.selectedIndex);
    for (size_t i = 0; i < s.names.size(); ++i) std::fprintf(out, "GPU %zu: %s\n", i, s.names[i].c_str());
    if (s.temperatureResult < 0)
        std::fprintf(out, "GPU temperature: %s (status %d)\n", unavailable, s.temperatureResult);
    else
        std::fprintf(out, "GPU temperature: %d °C (default range %d to %d °C)\n", s.temperature[0],
                     s.temperature[1], s.temperature[2]);
    if (s.clocksOk)
        std::fprintf(out, "Clocks: GPU %d MHz, memory %d MHz, shader %d MHz\n", s.clocks[0], s.clocks[1],
                     s.clocks[2]);
    else
        std::fprintf(out, "Clocks: %s\n", unavailable);
    if (s.baseClocksOk)
        std::fprintf(out, "Base clocks: GPU %d MHz, memory %d MHz, shader %d MHz\n", s.baseClocks[0],
                     s.baseClocks[1], s.baseClocks[2]);
    else
        std::fprintf(out, "Base clocks: %s\n", unavailable);
    if (s.usageOk)
        std::fprintf(out, "Usage: GPU %d %%, frame buffer %d %%\n", s.usage[0], s.usage[1]);
    else
        std::fprintf(out, "Usage: %s\n", unavailable);
    if (s.memoryOk)
        std::fprintf(out, "Memory: used %d KB, free %d KB, total %d KB\n", s.memory[0], s.memory[1],
                     s.memory[2]);
    else
        std::fprintf(out, "Memory: %s\n", unavailable);
    if (s.voltageOk)
        std::fprintf(out, "Voltage: current %d µV, base %d µV, range %d to %d µV\n", s.voltage[3],
                     s.voltage[0], s.voltage[1], s.voltage[2]);
    else
        std::fprintf(out, "Voltage: %s\n", unavailable);
    if (s.fanOk)
        std::fprintf(out, "Fan: level %d %% (range %d to %d %%), tachometer %d RPM\n", s.fan[2], s.fan[0],
                     s.fan[1], s.fan[3]);
    else
        std::fprintf(out, "Fan: %s, tachometer %d RPM\n", unavailable, s.fan[3]);
    if (s.powerOk)
        std::fprintf(out, "Power: limit %d %% (range %d to %d %%, default %d %%), draw %d %%\n", s.power[3],
                     s.power[0], s.power[1], s.power[2], s.power[4]);
    else
        std::fprintf(out, "Power: %s\n", unavailable);
    for (size_t i = 0; i < s.information.size() && i < std::size(kInformationLabels); ++i)
        std::fprintf(out, "%s: %s\n", kInformationLabels[i], s.information[i].c_str());
}

}  // namespace

int printStatus(std::FILE* out, std::FILE* err) {
    gpu::GpuContext context;
    if (context.driverMissing()) {
        std::fprintf(err, "%s\n", kStartFailureText);
        return 1;
    }
    gpu::GlobalContextScope global(context);
    Snapshot snapshot = takeSnapshot(context);
    std::fflush(stdout);
    printSnapshot(out, context, snapshot);
    std::fflush(out);
    return 0;
}

}  // namespace app
