// vantrel --service-status: what the service keeps and does for each GPU, and who holds its fans.
#include <string>
#include <vector>

#include "app/set_command.h"
#include "app/status_report.h"
#include "gpu/diagnostics.h"
#include "gpu/gpu_context.h"
#include "gpu/service_settings.h"

namespace app {
namespace {

using nvapi::KeptSettings;
using nvapi::ServiceStatus;

std::string jsonText(const char* raw) {
    std::string out = "\"";
    for (const char* p = raw; *p; ++p) {
        const unsigned char ch = static_cast<unsigned char>(*p);
        if (ch == '"' || ch == '\\') out += '\\';
        if (ch < 0x20) continue;
        out += char(ch);
    }
    return out + "\"";
}

const char* holderName(uint32_t holder) {
    return holder == nvapi::SERVICE_FAN_CLIENT    ? "client"
           : holder == nvapi::SERVICE_FAN_SERVICE ? "service"
                                                  : "driver";
}

const char* fanModeName(uint32_t mode) {
    return mode == nvapi::KEPT_FAN_FIXED ? "fixed" : mode == nvapi::KEPT_FAN_CURVE ? "curve" : "auto";
}

void printText(std::FILE* out, int gpu, const ServiceStatus& s) {
    const KeptSettings& k = s.kept;
    std::fprintf(out, "GPU %d (%s)\n", gpu, s.id);
    if (k.fields == 0) std::fprintf(out, "  kept: nothing\n");
    if (k.fields & nvapi::KEPT_GPU_OFFSET)
        std::fprintf(out, "  kept GPU clock offset: %+d MHz\n", k.gpuOffsetKHz / 1000);
    if (k.fields & nvapi::KEPT_MEM_OFFSET)
        std::fprintf(out, "  kept memory clock offset: %+d MHz\n", k.memOffsetKHz / 1000);
    if (k.fields & nvapi::KEPT_POWER) std::fprintf(out, "  kept power target: %u %%\n", k.power / 1000);
    if (k.fields & nvapi::KEPT_TEMP_TARGET)
        std::fprintf(out, "  kept temperature target: %d °C\n", k.tempTargetC);
    if (k.fields & nvapi::KEPT_FAN) {
        if (k.fanMode == nvapi::KEPT_FAN_FIXED)
            std::fprintf(out, "  kept fan: %u %%\n", k.fanLevel);
        else if (k.fanMode == nvapi::KEPT_FAN_CURVE)
            std::fprintf(
                out, "  kept fan: curve (%s) every %u ms, hysteresis %u °C, at least %u ms between changes\n",
                k.curve.stepped ? "steps" : "lines", k.curve.periodMs, k.curve.hysteresisC,
                k.curve.minChangeMs);
        else
            std::fprintf(out, "  kept fan: the driver's\n");
    }
    if (s.fanHolder == nvapi::SERVICE_FAN_CLIENT)
        std::fprintf(out, "  fans: held by uid %d pid %d\n", s.holderUid, s.holderPid);
    else if (s.fanHolder == nvapi::SERVICE_FAN_SERVICE && s.curveLevel >= 0)
        std::fprintf(out, "  fans: the service's kept curve, %d %% at %d °C\n", s.curveLevel,
                     s.curveTemperature);
    else if (s.fanHolder == nvapi::SERVICE_FAN_SERVICE)
        std::fprintf(out, "  fans: the service's kept setting\n");
    else
        std::fprintf(out, "  fans: the driver's\n");
}

std::string json(int gpu, const ServiceStatus& s) {
    const KeptSettings& k = s.kept;
    std::string kept;
    auto add = [&kept](const std::string& field) { kept += (kept.empty() ? "" : ",") + field; };
    if (k.fields & nvapi::KEPT_GPU_OFFSET) add("\"gpu_offset_mhz\":" + std::to_string(k.gpuOffsetKHz / 1000));
    if (k.fields & nvapi::KEPT_MEM_OFFSET) add("\"mem_offset_mhz\":" + std::to_string(k.memOffsetKHz / 1000));
    if (k.fields & nvapi::KEPT_POWER) add("\"power_percent\":" + std::to_string(k.power / 1000));
    if (k.fields & nvapi::KEPT_TEMP_TARGET) add("\"temp_target_c\":" + std::to_string(k.tempTargetC));
    if (k.fields & nvapi::KEPT_FAN) {
        std::string fan = "{\"mode\":\"" + std::string(fanModeName(k.fanMode)) + "\"";
        if (k.fanMode == nvapi::KEPT_FAN_FIXED) fan += ",\"level\":" + std::to_string(k.fanLevel);
        if (k.fanMode == nvapi::KEPT_FAN_CURVE) {
            fan += ",\"points\":[";
            for (int i = 0; i < 8; ++i)
                fan += (i ? ",[" : "[") + std::to_string(k.curve.x[i]) + "," + std::to_string(k.curve.y[i]) +
                       "]";
            fan += "],\"form\":\"" + std::string(k.curve.stepped ? "steps" : "lines") +
                   "\",\"period_ms\":" + std::to_string(k.curve.periodMs) +
                   ",\"hysteresis_c\":" + std::to_string(k.curve.hysteresisC) +
                   ",\"min_change_ms\":" + std::to_string(k.curve.minChangeMs);
        }
        add("\"fan\":" + fan + "}");
    }
    std::string text = "{\"index\":" + std::to_string(gpu) + ",\"id\":" + jsonText(s.id) + ",\"kept\":{" +
                       kept + "},\"fan_holder\":\"" + holderName(s.fanHolder) + "\"";
    if (s.fanHolder == nvapi::SERVICE_FAN_CLIENT)
        text += ",\"holder_uid\":" + std::to_string(s.holderUid) +
                ",\"holder_pid\":" + std::to_string(s.holderPid);
    if (s.curveLevel >= 0)
        text += ",\"curve_level\":" + std::to_string(s.curveLevel) +
                ",\"curve_temperature\":" + std::to_string(s.curveTemperature);
    return text + "}";
}

}  // namespace

int runServiceStatus(const StatusOptions& options, std::FILE* out, std::FILE* err) {
    gpu::DiagnosticRedirect quiet(nullptr);
    gpu::GpuContext context;
    if (context.driverMissing() || context.initializeStatus() != nvapi::OK) {
        std::fprintf(err, "vantrel: the driver does not answer (status %d)\n", context.initializeStatus());
        return context.driverMissing() ? kExitNoLibrary : kExitNoDriver;
    }
    if (context.count == 0 || options.gpu >= context.count) {
        std::fprintf(err, "vantrel: there is no GPU %d; the driver reports %d\n",
                     options.gpu < 0 ? 0 : options.gpu, context.count);
        return context.count == 0 ? kExitNoGpu : kExitNoSuchGpu;
    }
    gpu::GlobalContextScope global(context);
    std::vector<int> gpus;
    for (int i = 0; i < context.count; ++i)
        if (options.gpu == kAllGpus || i == (options.gpu < 0 ? 0 : options.gpu)) gpus.push_back(i);
    std::vector<ServiceStatus> statuses(gpus.size());
    for (size_t i = 0; i < gpus.size(); ++i) {
        context.selectedIndex = gpus[i];
        const int32_t status = gpu::readServiceStatus(statuses[i]);
        if (status == nvapi::NO_IMPLEMENTATION) {
            std::fprintf(err, "vantrel: the service vantreld does not answer\n");
            return kExitNoService;
        }
        if (status != nvapi::OK) {
            std::fprintf(err, "vantrel: GPU %d: the service gave no status (status %d)\n", gpus[i], status);
            return kExitRefused;
        }
    }
    const bool asJson = options.format == StatusFormat::Json;
    if (asJson) std::fputs("{\"gpus\":[", out);
    for (size_t i = 0; i < gpus.size(); ++i) {
        if (asJson)
            std::fprintf(out, "%s%s", i ? "," : "", json(gpus[i], statuses[i]).c_str());
        else
            printText(out, gpus[i], statuses[i]);
    }
    if (asJson) std::fputs("]}\n", out);
    std::fflush(out);
    return kExitOk;
}

}  // namespace app
