#include "app/status_report.h"

#include <unistd.h>

#include <QString>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <ctime>
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
    int32_t rpm = 0;
    bool rpmOk = false;
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
    s.rpmOk = gpu::readTachometer(s.rpm);
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
        std::fprintf(out, "Fan: level %d %% (range %d to %d %%), ", s.fan[2], s.fan[0], s.fan[1]);
    else
        std::fprintf(out, "Fan: %s, ", unavailable);
    if (s.rpmOk)
        std::fprintf(out, "tachometer %d RPM\n", s.rpm);
    else
        std::fprintf(out, "tachometer %s\n", unavailable);
    if (s.powerOk)
        std::fprintf(out, "Power: limit %d %% (range %d to %d %%, default %d %%), draw %d %%\n", s.power[3],
                     s.power[0], s.power[1], s.power[2], s.power[4]);
    else
        std::fprintf(out, "Power: %s\n", unavailable);
    for (size_t i = 0; i < s.information.size() && i < std::size(kInformationLabels); ++i)
        std::fprintf(out, "%s: %s\n", kInformationLabels[i], s.information[i].c_str());
}

// One reading of a GPU for the machine-readable formats; absent when the driver
// could not give it.
struct Field {
    const char* key;
    bool present = true;
    bool isText = false;
    long long number = 0;
    std::string text;
};

std::vector<Field> fieldsOf(int index, const Snapshot& s) {
    std::vector<Field> f;
    auto number = [&f](const char* key, bool ok, long long value) {
        f.push_back(Field{key, ok, false, value, {}});
    };
    auto text = [&f](const char* key, const std::string& value) {
        f.push_back(Field{key, true, true, 0, value});
    };
    auto info = [&](const char* key, size_t i) {
        if (i < s.information.size())
            text(key, s.information[i]);
        else
            f.push_back(Field{key, false, true, 0, {}});
    };
    number("index", true, index);
    text("name", size_t(index) < s.names.size() ? s.names[size_t(index)] : std::string());
    number("temperature_c", s.temperatureResult >= 0, s.temperature[0]);
    number("gpu_clock_mhz", s.clocksOk, s.clocks[0]);
    number("memory_clock_mhz", s.clocksOk, s.clocks[1]);
    number("shader_clock_mhz", s.clocksOk, s.clocks[2]);
    number("base_gpu_clock_mhz", s.baseClocksOk, s.baseClocks[0]);
    number("base_memory_clock_mhz", s.baseClocksOk, s.baseClocks[1]);
    number("gpu_usage_percent", s.usageOk, s.usage[0]);
    number("framebuffer_usage_percent", s.usageOk, s.usage[1]);
    number("memory_used_kb", s.memoryOk, s.memory[0]);
    number("memory_free_kb", s.memoryOk, s.memory[1]);
    number("memory_total_kb", s.memoryOk, s.memory[2]);
    number("voltage_uv", s.voltageOk, s.voltage[3]);
    number("fan_level_percent", s.fanOk, s.fan[2]);
    number("fan_rpm", s.rpmOk, s.rpm);
    number("power_limit_percent", s.powerOk, s.power[3]);
    number("power_draw_percent", s.powerOk, s.power[4]);
    info("memory_size", 2);
    info("memory_type", 3);
    info("driver", 6);
    info("chipset", 7);
    info("memory_bus_width", 9);
    info("bandwidth", 10);
    info("video_bios", 13);
    return f;
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

std::string fieldValue(const Field& f, bool json) {
    if (!f.present) return json ? "null" : "";
    if (!f.isText) return std::to_string(f.number);
    return json ? jsonString(f.text) : csvField(f.text);
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
    std::vector<std::pair<int, Snapshot>> snapshots;
    const int inUse = context.selectedIndex;
    for (int index : reportedGpus(options, context)) {
        context.selectedIndex = index;
        snapshots.emplace_back(index, takeSnapshot(context));
    }
    context.selectedIndex = inUse;
    std::fflush(stdout);

    if (options.format == StatusFormat::Text) {
        for (const auto& [index, snapshot] : snapshots) {
            context.selectedIndex = index;
            printSnapshot(out, context, snapshot);
        }
        context.selectedIndex = inUse;
    } else if (options.format == StatusFormat::Json) {
        std::string line = "{\"driver\":" + jsonString(gpu::DriverBinding::libraryPath()) +
                           ",\"gpu_count\":" + std::to_string(context.count) +
                           ",\"gpu_in_use\":" + std::to_string(inUse) + ",\"gpus\":[";
        for (size_t g = 0; g < snapshots.size(); ++g) {
            line += g ? ",{" : "{";
            const std::vector<Field> fields = fieldsOf(snapshots[g].first, snapshots[g].second);
            for (size_t i = 0; i < fields.size(); ++i)
                line += (i ? ",\"" : "\"") + std::string(fields[i].key) + "\":" + fieldValue(fields[i], true);
            line += "}";
        }
        std::fprintf(out, "%s]}\n", line.c_str());
    } else {
        for (const auto& [index, snapshot] : snapshots) {
            const std::vector<Field> fields = fieldsOf(index, snapshot);
            std::string header, row;
            for (size_t i = 0; i < fields.size(); ++i) {
                header += (i ? "," : "") + std::string(fields[i].key);
                row += (i ? "," : "") + fieldValue(fields[i], false);
            }
            if (withHeader) std::fprintf(out, "%s\n", header.c_str());
            withHeader = false;
            std::fprintf(out, "%s\n", row.c_str());
        }
    }
    std::fflush(out);
}

}  // namespace

int printStatus(const StatusOptions& options, std::FILE* out, std::FILE* err) {
    gpu::GpuContext context;
    if (context.driverMissing()) {
        std::fprintf(err, "%s\n", kStartFailureText);
        return 1;
    }
    gpu::GlobalContextScope global(context);
    if (context.initializeStatus() != nvapi::OK || context.count == 0) {
        std::fprintf(err, "vantrel: the driver reports no GPU (status %d)\n", context.initializeStatus());
        return 1;
    }
    if (options.gpu >= context.count) {
        std::fprintf(err, "vantrel: there is no GPU %d; the driver reports %d\n", options.gpu, context.count);
        return 1;
    }
    if (options.loopSeconds <= 0) {
        printReport(out, options, context, true);
        return 0;
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
    return 0;
}

int runStatus(const StatusOptions& options) {
    // The GPU layer writes its diagnostics on stdout; while a report is printed
    // they go to stderr, and the report alone to the original stdout.
    std::fflush(stdout);
    const int reportFd = dup(STDOUT_FILENO);
    std::FILE* report = reportFd >= 0 ? fdopen(reportFd, "w") : nullptr;
    if (!report || dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
        if (report) std::fclose(report);
        return printStatus(options, stdout, stderr);
    }
    const int result = printStatus(options, report, stderr);
    std::fclose(report);
    return result;
}

}  // namespace app
