#include "app/write_probe.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "app/status_report.h"
#include "gpu/diagnostics.h"
#include "gpu/gpu_context.h"
#include "gpu/readings.h"
#include "gpu/tuning.h"

namespace app {
namespace {

void line(std::FILE* out, int gpu, const char* iface, const char* verdict, const std::string& detail) {
    std::fprintf(out, "write %d %s %s %s\n", gpu, iface, verdict, detail.c_str());
}

void probePowerTarget(std::FILE* out, int gpu) {
    const std::optional<int32_t> before = gpu::powerValues().limitPercent;
    if (!before) return line(out, gpu, "power_target", "skipped", "the limit cannot be read");
    if (!gpu::setPowerTarget(uint32_t(*before)))
        return line(out, gpu, "power_target", "refused", "writing " + std::to_string(*before) + " % back");
    const std::optional<int32_t> after = gpu::powerValues().limitPercent;
    const bool same = after && *after == *before;
    line(out, gpu, "power_target", same ? "pass" : "fail",
         std::to_string(*before) + " % written back, read " +
             (after ? std::to_string(*after) + " %" : "nothing"));
}

void probeTemperatureTarget(std::FILE* out, int gpu) {
    int32_t before[5] = {};
    if (!gpu::readThermalPolicy(before))
        return line(out, gpu, "temperature_target", "skipped", "the target cannot be read");
    if (!gpu::setTemperatureTarget(float(before[3]), before[4] != 0))
        return line(out, gpu, "temperature_target", "refused",
                    "writing " + std::to_string(before[3]) + " °C back");
    int32_t after[5] = {};
    const bool read = gpu::readThermalPolicy(after);
    const bool same = read && after[3] == before[3] && after[4] == before[4];
    line(out, gpu, "temperature_target", same ? "pass" : "fail",
         std::to_string(before[3]) + " °C written back, read " +
             (read ? std::to_string(after[3]) + " °C" : std::string("nothing")));
}

void probeClockOffsets(std::FILE* out, int gpu) {
    std::array<int32_t, 2> before{};
    if (!gpu::readClockOffsets(before))
        return line(out, gpu, "clock_offsets", "skipped", "the P-state table cannot be read");
    const bool written = gpu::setGpuClockOffset(before[0]) && gpu::setMemoryClockOffset(before[1]);
    const std::string values = std::to_string(before[0]) + " / " + std::to_string(before[1]) + " MHz";
    if (!written) return line(out, gpu, "clock_offsets", "refused", "writing " + values + " back");
    std::array<int32_t, 2> after{};
    const bool read = gpu::readClockOffsets(after);
    line(out, gpu, "clock_offsets", read && after == before ? "pass" : "fail",
         values + " written back, read " +
             (read ? std::to_string(after[0]) + " / " + std::to_string(after[1]) + " MHz" : "nothing"));
}

void probeFanHandBack(std::FILE* out, int gpu) {
    if (!gpu::fanControllable()) return line(out, gpu, "fan_hand_back", "skipped", "no fan to drive");
    const gpu::FanValues before = gpu::fanValues();
    if (!before.driverControlled)
        return line(out, gpu, "fan_hand_back", "skipped", "the coolers cannot be read");
    if (!*before.driverControlled)
        return line(out, gpu, "fan_hand_back", "skipped", "a fan is on a fixed level; left as it is");
    if (!gpu::restoreFanDefault())
        return line(out, gpu, "fan_hand_back", "refused", "the driver kept the fan");
    const gpu::FanValues after = gpu::fanValues();
    const bool same = after.driverControlled.value_or(false);
    line(out, gpu, "fan_hand_back", same ? "pass" : "fail",
         same ? "still under the driver's control" : "no longer under the driver's control");
}

}  // namespace

int runWriteProbe(std::FILE* out, std::FILE* err, bool verbose) {
    gpu::DiagnosticRedirect diagnostics(verbose ? err : nullptr);
    gpu::GpuContext context;
    if (context.driverMissing() || context.initializeStatus() != nvapi::OK) {
        std::fprintf(err, "vantrel: the driver does not answer (status %d)\n", context.initializeStatus());
        return context.driverMissing() ? kExitNoLibrary : kExitNoDriver;
    }
    if (context.count == 0) {
        std::fprintf(err, "vantrel: the driver reports no GPU\n");
        return kExitNoGpu;
    }
    gpu::GlobalContextScope global(context);
    for (int i = 0; i < context.count; ++i) {
        context.selectedIndex = i;
        probePowerTarget(out, i);
        probeTemperatureTarget(out, i);
        probeClockOffsets(out, i);
        probeFanHandBack(out, i);
    }
    context.selectedIndex = 0;
    std::fflush(out);
    return kExitOk;
}

}  // namespace app
