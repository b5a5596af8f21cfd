// The values of the status report: what is read of one GPU before anything is
// printed, and the named fields the machine-readable formats are made of.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gpu/extended_readings.h"
#include "gpu/gpu_context.h"
#include "gpu/information.h"
#include "gpu/readings.h"

namespace app {

struct GpuStatus {
    int index = 0;
    std::string name;
    int32_t temperatureResult = 0;
    gpu::TemperatureValues temperature;
    gpu::ClockValues clocks, baseClocks;
    gpu::UsageValues usage;
    gpu::MemoryValues memory;
    gpu::VoltageValues voltage;
    gpu::FanValues fan;
    gpu::PowerValues power;
    gpu::PowerWattValues watts;
    gpu::IdentityValues identity;
    gpu::GpuFacts facts;
    std::vector<std::string> information;  // the fourteen strings of the facts
};

// Reads the GPU at the context's selectedIndex.
GpuStatus readGpuStatus(gpu::GpuContext& context);

// One field's value: absent when the driver did not give it. Numbers are
// written as numbers; text is escaped by the format.
struct FieldValue {
    enum class Kind { Absent, Integer, Real, Text } kind = Kind::Absent;
    long long integer = 0;
    double real = 0;
    std::string text;
    int decimals = 1;  // of a Real
};

struct StatusField {
    const char* key;
    FieldValue (*value)(const GpuStatus&, bool withUnits);
    // True for a value the NVML bridge may estimate rather than read.
    bool estimatedByBridge = false;
};

// Every field in report order: the long-standing ones first, the newer after.
const std::vector<StatusField>& statusFields();
const StatusField* findStatusField(std::string_view key);
// The report time, the field every report has once (ISO 8601 with the zone).
inline constexpr const char* kTimestampField = "timestamp";

}  // namespace app
