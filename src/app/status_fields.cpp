#include "app/status_fields.h"

#include <cctype>

namespace app {
namespace {

FieldValue integer(const std::optional<int32_t>& v) {
    return v ? FieldValue{FieldValue::Kind::Integer, *v, 0, {}} : FieldValue{};
}
FieldValue integer(long long v) {
    return FieldValue{FieldValue::Kind::Integer, v, 0, {}};
}
FieldValue text(const std::optional<std::string>& v) {
    return v ? FieldValue{FieldValue::Kind::Text, 0, 0, *v} : FieldValue{};
}

// A fact as the information panel shows it ("8192MB"); without units, the
// number alone. Absent when the fact behind it is.
FieldValue legacyText(const GpuStatus& s, size_t index, bool known, bool withUnits) {
    if (!known || index >= s.information.size()) return {};
    std::string value = s.information[index];
    if (!withUnits)
        while (!value.empty() && !std::isdigit(static_cast<unsigned char>(value.back()))) value.pop_back();
    return text(value);
}

// Watts to the hundredth, as the driver's milliwatts allow.
FieldValue watts(const std::optional<double>& v) {
    return v ? FieldValue{FieldValue::Kind::Real, 0, *v, {}, 2} : FieldValue{};
}

std::optional<int32_t> kbToMib(const std::optional<int32_t>& kb) {
    return kb ? std::optional<int32_t>(*kb / 1024) : std::nullopt;
}

const std::vector<StatusField> kFields = {
    {"index", [](const GpuStatus& s, bool) { return integer(s.index); }},
    {"name", [](const GpuStatus& s, bool) { return text(s.name); }},
    {"temperature_c", [](const GpuStatus& s, bool) { return integer(s.temperature.currentC); }},
    {"gpu_clock_mhz", [](const GpuStatus& s, bool) { return integer(s.clocks.gpuMhz); }},
    {"memory_clock_mhz", [](const GpuStatus& s, bool) { return integer(s.clocks.memoryMhz); }},
    {"shader_clock_mhz", [](const GpuStatus& s, bool) { return integer(s.clocks.shaderMhz); }},
    {"base_gpu_clock_mhz", [](const GpuStatus& s, bool) { return integer(s.baseClocks.gpuMhz); }, true},
    {"base_memory_clock_mhz", [](const GpuStatus& s, bool) { return integer(s.baseClocks.memoryMhz); }, true},
    {"gpu_usage_percent", [](const GpuStatus& s, bool) { return integer(s.usage.gpuPercent); }},
    {"framebuffer_usage_percent",
     [](const GpuStatus& s, bool) { return integer(s.usage.frameBufferPercent); }},
    {"memory_used_kb", [](const GpuStatus& s, bool) { return integer(s.memory.usedKb); }},
    {"memory_free_kb", [](const GpuStatus& s, bool) { return integer(s.memory.freeKb); }},
    {"memory_total_kb", [](const GpuStatus& s, bool) { return integer(s.memory.totalKb); }},
    {"voltage_uv", [](const GpuStatus& s, bool) { return integer(s.voltage.currentUv); }},
    {"fan_level_percent", [](const GpuStatus& s, bool) { return integer(s.fan.levelPercent); }},
    {"fan_rpm", [](const GpuStatus& s, bool) { return integer(s.fan.rpm); }},
    {"power_limit_percent", [](const GpuStatus& s, bool) { return integer(s.power.limitPercent); }},
    {"power_draw_percent", [](const GpuStatus& s, bool) { return integer(s.power.drawPercent); }},
    {"memory_size", [](const GpuStatus& s,
                       bool units) { return legacyText(s, 2, s.facts.memoryTotalMib.has_value(), units); }},
    {"memory_type",
     [](const GpuStatus& s, bool) { return legacyText(s, 3, s.facts.memoryTypeCode.has_value(), true); }},
    {"driver",
     [](const GpuStatus& s, bool) { return legacyText(s, 6, s.facts.driverVersion.has_value(), true); }},
    {"chipset",
     [](const GpuStatus& s, bool) { return legacyText(s, 7, s.facts.chipsetVendor.has_value(), true); }},
    {"memory_bus_width",
     [](const GpuStatus& s, bool units) {
         return legacyText(s, 9, s.facts.memoryBusWidthBits.has_value(), units);
     }},
    {"bandwidth",
     [](const GpuStatus& s, bool units) {
         return legacyText(s, 10, s.facts.bandwidthGbPerSecond().has_value(), units);
     }},
    {"video_bios", [](const GpuStatus& s, bool) { return text(s.facts.biosVersion); }},
    // Added later: numbers as numbers.
    {"memory_total_mib",
     [](const GpuStatus& s, bool) {
         return s.facts.memoryTotalMib ? integer(*s.facts.memoryTotalMib) : FieldValue{};
     }},
    {"memory_used_mib", [](const GpuStatus& s, bool) { return integer(kbToMib(s.memory.usedKb)); }},
    {"memory_free_mib", [](const GpuStatus& s, bool) { return integer(kbToMib(s.memory.freeKb)); }},
    {"memory_bus_width_bits",
     [](const GpuStatus& s, bool) {
         return s.facts.memoryBusWidthBits ? integer(*s.facts.memoryBusWidthBits) : FieldValue{};
     }},
    {"bandwidth_gb_s",
     [](const GpuStatus& s, bool) {
         const std::optional<double> v = s.facts.bandwidthGbPerSecond();
         return v ? FieldValue{FieldValue::Kind::Real, 0, *v, {}} : FieldValue{};
     }},
    {"power_default_percent", [](const GpuStatus& s, bool) { return integer(s.power.defaultPercent); }},
    {"power_min_percent", [](const GpuStatus& s, bool) { return integer(s.power.minimumPercent); }},
    {"power_max_percent", [](const GpuStatus& s, bool) { return integer(s.power.maximumPercent); }},
    {"fan_min_percent", [](const GpuStatus& s, bool) { return integer(s.fan.lowestPercent); }},
    {"fan_max_percent", [](const GpuStatus& s, bool) { return integer(s.fan.highestPercent); }},
    {"driver_version",
     [](const GpuStatus& s, bool) {
         return s.facts.driverVersion ? text(gpu::formatDriverVersion(*s.facts.driverVersion)) : FieldValue{};
     }},
    {"uuid", [](const GpuStatus& s, bool) { return text(s.identity.uuid); }},
    {"pci_bus_id", [](const GpuStatus& s, bool) { return text(s.identity.pciBusId); }},
    {"power_draw_w", [](const GpuStatus& s, bool) { return watts(s.watts.drawW); }},
    {"power_limit_w", [](const GpuStatus& s, bool) { return watts(s.watts.limitW); }},
    {"power_default_w", [](const GpuStatus& s, bool) { return watts(s.watts.defaultW); }},
    {"power_min_w", [](const GpuStatus& s, bool) { return watts(s.watts.minimumW); }},
    {"power_max_w", [](const GpuStatus& s, bool) { return watts(s.watts.maximumW); }},
};

}  // namespace

GpuStatus readGpuStatus(gpu::GpuContext& context) {
    GpuStatus s;
    s.index = context.selectedIndex;
    s.name = gpu::readGpuName(context.selectedHandle());
    s.temperature = gpu::temperatureValues(&s.temperatureResult);
    s.clocks = gpu::clockValues(context, 0);
    s.baseClocks = gpu::clockValues(context, 1);
    s.usage = gpu::usageValues();
    s.memory = gpu::memoryValues();
    s.voltage = gpu::voltageValues();
    s.fan = gpu::fanValues();
    s.power = gpu::powerValues();
    s.watts = gpu::powerWattValues(context.selectedHandle());
    s.identity = gpu::identityValues(context.selectedHandle());
    s.facts = gpu::readGpuFacts(context);
    s.information = gpu::informationStrings(s.facts);
    return s;
}

const std::vector<StatusField>& statusFields() {
    return kFields;
}

const StatusField* findStatusField(std::string_view key) {
    for (const StatusField& f : kFields)
        if (key == f.key) return &f;
    return nullptr;
}

}  // namespace app
