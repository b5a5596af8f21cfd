#include "app/status_report.h"

#include <dlfcn.h>

#include <QString>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <string>
#include <vector>

#include "app/startup.h"
#include "app/status_fields.h"
#include "gpu/diagnostics.h"
#include "gpu/driver_binding.h"

namespace app {
namespace {

constexpr const char* kInformationLabels[gpu::kInformationCount] = {
    "Name",       "(blank)",      "Memory size",      "Memory type", "GPU clock",
    "Base clock", "Driver",       "Chipset",          "(blank)",     "Memory bus width",
    "Bandwidth",  "Memory clock", "Memory clock max", "Video BIOS"};

// Whether the fact behind each information string was read; the blanks always are.
bool informationKnown(const gpu::GpuFacts& f, size_t index) {
    switch (index) {
        case 0:
            return f.name.has_value();
        case 2:
            return f.memoryTotalMib.has_value();
        case 3:
            return f.memoryTypeCode.has_value();
        case 4:
            return f.gpuClockMhz.has_value();
        case 5:
            return f.baseClockMhz.has_value();
        case 6:
            return f.driverVersion.has_value();
        case 7:
            return f.chipsetVendor.has_value();
        case 9:
            return f.memoryBusWidthBits.has_value();
        case 10:
            return f.bandwidthGbPerSecond().has_value();
        case 11:
            return f.memoryClockMhz.has_value();
        case 12:
            return f.memoryClockMaxMhz.has_value();
        case 13:
            return f.biosVersion.has_value();
        default:
            return true;
    }
}

// "%d" of a value, or "unavailable".
std::string shown(const std::optional<int32_t>& v, const char* unit = "") {
    return v ? std::to_string(*v) + unit : std::string("unavailable");
}

std::string shownWatts(const std::optional<double>& v) {
    if (!v) return "unavailable";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", *v);
    return text;
}

void printText(std::FILE* out, const gpu::GpuContext& context, const std::vector<std::string>& names,
               const std::string& timestamp, const GpuStatus& s) {
    std::fprintf(out, "\n== Vantrel status ==\n");
    std::fprintf(out, "Time: %s\n", timestamp.c_str());
    std::fprintf(out, "Driver library: %s\n", gpu::DriverBinding::libraryPath().c_str());
    std::fprintf(out, "GPUs: %d, in use: %d\n", context.count, s.index);
    for (size_t i = 0; i < names.size(); ++i) std::fprintf(out, "GPU %zu: %s\n", i, names[i].c_str());
    if (!s.temperature.currentC)
        std::fprintf(out, "GPU temperature: unavailable (status %d)\n", s.temperatureResult);
    else
        std::fprintf(out, "GPU temperature: %d °C (default range %s to %s °C)\n", *s.temperature.currentC,
                     shown(s.temperature.defaultMinC).c_str(), shown(s.temperature.defaultMaxC).c_str());
    auto clocks = [out](const char* label, const gpu::ClockValues& c) {
        if (!c.gpuMhz)
            std::fprintf(out, "%s: unavailable\n", label);
        else
            std::fprintf(out, "%s: GPU %d MHz, memory %s MHz, shader %s MHz\n", label, *c.gpuMhz,
                         shown(c.memoryMhz).c_str(), shown(c.shaderMhz).c_str());
    };
    clocks("Clocks", s.clocks);
    clocks("Base clocks", s.baseClocks);
    if (!s.usage.gpuPercent && !s.usage.frameBufferPercent)
        std::fprintf(out, "Usage: unavailable\n");
    else
        std::fprintf(out, "Usage: GPU %s, frame buffer %s\n", shown(s.usage.gpuPercent, " %").c_str(),
                     shown(s.usage.frameBufferPercent, " %").c_str());
    if (!s.memory.usedKb)
        std::fprintf(out, "Memory: unavailable\n");
    else
        std::fprintf(out, "Memory: used %d KB, free %d KB, total %d KB\n", *s.memory.usedKb, *s.memory.freeKb,
                     *s.memory.totalKb);
    if (!s.voltage.currentUv && !s.voltage.baseUv && !s.voltage.lowestUv)
        std::fprintf(out, "Voltage: unavailable\n");
    else
        std::fprintf(out, "Voltage: current %s µV, base %s µV, range %s to %s µV\n",
                     shown(s.voltage.currentUv).c_str(), shown(s.voltage.baseUv).c_str(),
                     shown(s.voltage.lowestUv).c_str(), shown(s.voltage.highestUv).c_str());
    if (s.fan.levelPercent)
        std::fprintf(out, "Fan: level %d %% (range %d to %d %%), ", *s.fan.levelPercent, *s.fan.lowestPercent,
                     *s.fan.highestPercent);
    else
        std::fprintf(out, "Fan: unavailable, ");
    if (s.fan.rpm)
        std::fprintf(out, "tachometer %d RPM\n", *s.fan.rpm);
    else
        std::fprintf(out, "tachometer unavailable\n");
    if (!s.power.limitPercent && !s.power.drawPercent && !s.power.defaultPercent)
        std::fprintf(out, "Power: unavailable\n");
    else
        std::fprintf(out, "Power: limit %s %% (range %s to %s %%, default %s %%), draw %s %%\n",
                     shown(s.power.limitPercent).c_str(), shown(s.power.minimumPercent).c_str(),
                     shown(s.power.maximumPercent).c_str(), shown(s.power.defaultPercent).c_str(),
                     shown(s.power.drawPercent).c_str());
    const gpu::PowerWattValues& w = s.watts;
    if (!w.drawW && !w.limitW && !w.defaultW)
        std::fprintf(out, "Power in watts: unavailable\n");
    else
        std::fprintf(out, "Power in watts: limit %s W (range %s to %s W, default %s W), draw %s W\n",
                     shownWatts(w.limitW).c_str(), shownWatts(w.minimumW).c_str(),
                     shownWatts(w.maximumW).c_str(), shownWatts(w.defaultW).c_str(),
                     shownWatts(w.drawW).c_str());
    std::fprintf(out, "UUID: %s\n", s.identity.uuid.value_or("unavailable").c_str());
    std::fprintf(out, "PCI bus id: %s\n", s.identity.pciBusId.value_or("unavailable").c_str());
    for (size_t i = 0; i < s.information.size() && i < std::size(kInformationLabels); ++i)
        std::fprintf(out, "%s: %s\n", kInformationLabels[i],
                     informationKnown(s.facts, i) ? s.information[i].c_str() : "unavailable");
}

// Driver texts are not trusted to be UTF-8; a bad byte becomes U+FFFD.
std::string jsonString(const std::string& raw) {
    const QByteArray utf8 = QString::fromUtf8(raw.data(), qsizetype(raw.size())).toUtf8();
    std::string out = "\"";
    for (unsigned char c : utf8) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

std::string csvField(const std::string& raw) {
    if (raw.find_first_of(",\"\r\n") == std::string::npos) return raw;
    std::string out = "\"";
    for (char c : raw) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string formatted(const FieldValue& v, bool json) {
    switch (v.kind) {
        case FieldValue::Kind::Absent:
            return json ? "null" : "";
        case FieldValue::Kind::Integer:
            return std::to_string(v.integer);
        case FieldValue::Kind::Real: {
            char text[32];
            std::snprintf(text, sizeof text, "%.*f", v.decimals, v.real);
            return text;
        }
        case FieldValue::Kind::Text:
            return json ? jsonString(v.text) : csvField(v.text);
    }
    return {};
}

// Local time with its offset, e.g. 2024-05-01T12:00:00+02:00.
std::string isoTimestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    std::string s = text;
    if (s.size() >= 5) s.insert(s.size() - 2, ":");
    return s;
}

// The columns of a machine-readable report: the chosen ones, else every field
// (JSON has its timestamp once, beside the GPUs; CSV in every row).
std::vector<std::string> columns(const StatusOptions& options) {
    if (!options.query.empty()) return options.query;
    std::vector<std::string> all;
    for (const StatusField& f : statusFields()) all.push_back(f.key);
    if (options.format == StatusFormat::Csv) all.push_back(kTimestampField);
    return all;
}

std::string valueOf(const std::string& column, const GpuStatus& s, const std::string& timestamp, bool json,
                    bool units) {
    if (column == kTimestampField) return json ? jsonString(timestamp) : timestamp;
    const StatusField* field = findStatusField(column);
    return field ? formatted(field->value(s, units), json) : formatted({}, json);
}

bool onNvmlBridge() {
    return gpu::DriverBinding::libraryPath().ends_with("/libnvapi-nvml.so");
}

// Whether the bridge can find NVIDIA's library, searched for as the bridge does.
bool nvmlLibraryPresent() {
    for (const char* name : {"libnvidia-ml.so.1", "libnvidia-ml.so"}) {
        if (void* handle = dlopen(name, RTLD_LAZY | RTLD_LOCAL)) {
            dlclose(handle);
            return true;
        }
    }
    return false;
}

std::atomic<bool> g_stop{false};
extern "C" void requestStop(int) {
    g_stop = true;
}

// Sleeps for seconds, or less when SIGINT or SIGTERM arrives.
void sleepFor(double seconds) {
    timespec left{time_t(seconds), long((seconds - double(time_t(seconds))) * 1e9)};
    while (!g_stop && nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

std::vector<int> reportedGpus(const StatusOptions& options, const gpu::GpuContext& context) {
    std::vector<int> list;
    if (options.gpu == kAllGpus)
        for (int i = 0; i < context.count; ++i) list.push_back(i);
    else if (options.gpu < 0)
        list.push_back(context.selectedIndex);
    else if (options.gpu < context.count)
        list.push_back(options.gpu);
    return list;
}

void printReport(std::FILE* out, const StatusOptions& options, gpu::GpuContext& context, bool withHeader) {
    // Everything is read first, so that diagnostics shown with --verbose come
    // before the block instead of between its lines.
    std::vector<GpuStatus> gpus;
    const int inUse = context.selectedIndex;
    for (int index : reportedGpus(options, context)) {
        context.selectedIndex = index;
        gpus.push_back(readGpuStatus(context));
    }
    context.selectedIndex = inUse;
    std::vector<std::string> names;
    if (options.format == StatusFormat::Text)
        for (int i = 0; i < context.count; ++i) names.push_back(gpu::readGpuName(context.handles[i]));
    gpu::flushDiagnostics();
    const std::string timestamp = isoTimestamp();

    if (options.format == StatusFormat::Text) {
        for (const GpuStatus& s : gpus) printText(out, context, names, timestamp, s);
    } else if (options.format == StatusFormat::Json) {
        std::string line = "{\"timestamp\":" + jsonString(timestamp) +
                           ",\"driver\":" + jsonString(gpu::DriverBinding::libraryPath()) +
                           ",\"gpu_count\":" + std::to_string(context.count) +
                           ",\"gpu_in_use\":" + std::to_string(inUse) + ",\"gpus\":[";
        const std::vector<std::string> keys = columns(options);
        for (size_t g = 0; g < gpus.size(); ++g) {
            line += g ? ",{" : "{";
            std::string estimated;
            for (size_t i = 0; i < keys.size(); ++i) {
                line +=
                    (i ? ",\"" : "\"") + keys[i] + "\":" + valueOf(keys[i], gpus[g], timestamp, true, true);
                const StatusField* f = findStatusField(keys[i]);
                if (f && f->estimatedByBridge && onNvmlBridge() &&
                    f->value(gpus[g], true).kind != FieldValue::Kind::Absent)
                    estimated += (estimated.empty() ? "\"" : ",\"") + keys[i] + "\"";
            }
            line += ",\"estimated\":[" + estimated + "]}";
        }
        std::fprintf(out, "%s]}\n", line.c_str());
    } else {
        const std::vector<std::string> keys = columns(options);
        if (withHeader && options.header) {
            std::string header;
            for (size_t i = 0; i < keys.size(); ++i) header += (i ? "," : "") + keys[i];
            std::fprintf(out, "%s\n", header.c_str());
        }
        for (const GpuStatus& s : gpus) {
            std::string row;
            for (size_t i = 0; i < keys.size(); ++i)
                row += (i ? "," : "") + valueOf(keys[i], s, timestamp, false, options.units);
            std::fprintf(out, "%s\n", row.c_str());
        }
    }
    std::fflush(out);
}

// The reason no report can be made, on err, and its exit code; kExitOk when one can.
int checkDriver(const StatusOptions& options, const gpu::GpuContext& context, std::FILE* err) {
    if (context.driverMissing()) {
        // The driver answers "library not found" both when a library is missing and,
        // on the bridge, when NVML is there but the kernel driver does not answer.
        std::fprintf(err, "%s\n", kStartFailureText);
        const std::string& library = gpu::DriverBinding::libraryPath();
        if (!driverLoadError(library).empty()) return kExitNoLibrary;
        return onNvmlBridge() && !nvmlLibraryPresent() ? kExitNoLibrary : kExitNoDriver;
    }
    if (context.initializeStatus() != nvapi::OK) {
        std::fprintf(err, "vantrel: the driver does not answer (status %d)\n", context.initializeStatus());
        return kExitNoDriver;
    }
    if (context.count == 0) {
        std::fprintf(err, "vantrel: the driver reports no GPU\n");
        return kExitNoGpu;
    }
    if (options.gpu >= context.count) {
        std::fprintf(err, "vantrel: there is no GPU %d; the driver reports %d\n", options.gpu, context.count);
        return kExitNoSuchGpu;
    }
    return kExitOk;
}

}  // namespace

int printStatus(const StatusOptions& options, std::FILE* out, std::FILE* err) {
    gpu::DiagnosticRedirect diagnostics(options.verbose ? err : nullptr);
    gpu::GpuContext context;
    if (const int failure = checkDriver(options, context, err)) return failure;
    gpu::GlobalContextScope global(context);
    if (options.loopSeconds <= 0) {
        printReport(out, options, context, true);
        return kExitOk;
    }
    g_stop = false;
    struct sigaction stop {};
    stop.sa_handler = requestStop;
    sigemptyset(&stop.sa_mask);
    struct sigaction previousInt {
    }, previousTerm{};
    sigaction(SIGINT, &stop, &previousInt);
    sigaction(SIGTERM, &stop, &previousTerm);
    for (bool first = true; !g_stop; first = false) {
        printReport(out, options, context, first);
        sleepFor(options.loopSeconds);
    }
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
    return kExitOk;
}

int runStatus(const StatusOptions& options) {
    return printStatus(options, stdout, stderr);
}

}  // namespace app
