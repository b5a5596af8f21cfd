#include "gpu/information.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "gpu/driver_structs.h"
#include "gpu/readings.h"
#include "gpu/tuning.h"

namespace gpu {

using namespace detail;

namespace {

constexpr const char* kUnknown = "Unknown";

struct MemoryType {
    const char* text;
    int32_t factor;
};
constexpr MemoryType kMemoryTypes[] = {{"Unknown", 2}, {"SDRAM", 1}, {"DDR1", 2},  {"DDR2", 2},
                                       {"GDDR2", 2},   {"GDDR3", 2}, {"GDDR4", 4}, {"DDR3", 2},
                                       {"GDDR5", 4},   {"LPDDR2", 2}};
constexpr int32_t kMemoryTypeCount = int32_t(std::size(kMemoryTypes));

std::string printed(const char* format, long long value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// A driver text of up to 64 bytes, never read past its buffer.
std::string driverText(const char (&text)[nvapi::SHORT_STRING]) {
    return std::string(text, strnlen(text, sizeof text));
}

std::optional<uint32_t> memoryTotalMib() {
    nvapi::MemoryInfo memory;
    int32_t status = nvCall<nvapi::ID_GPU_GetMemoryInfo>(nullptr, &prepare(memory, nvapi::MEMORY_INFO_VER2));
    if (status == nvapi::INCOMPATIBLE_STRUCT_VERSION)
        status = nvCall<nvapi::ID_GPU_GetMemoryInfo>(nullptr, &prepare(memory, nvapi::MEMORY_INFO_VER1));
    if (status == nvapi::ERROR) {
        char text[nvapi::SHORT_STRING];
        driverErrorText(status, text);
    }
    if (status != nvapi::OK) return std::nullopt;
    return memory.dedicatedVideoMemory >> 10;
}

std::optional<int32_t> memoryTypeCode(GpuContext& context, NvPhysicalGpuHandle gpu) {
    int32_t code = -1;
    if (nvCall<nvapi::ID_GPU_GetRamType>(gpu, &code) != nvapi::OK) return std::nullopt;
    if (int32_t factor = memoryDataRateFactor(code)) context.memoryDataRate = factor;
    return code;
}

std::optional<uint32_t> driverVersion() {
    nvapi::DisplayDriverVersion version;
    if (nvCall<nvapi::ID_SYS_GetDriverVersion>(
            nullptr, &prepare(version, nvapi::DISPLAY_DRIVER_VERSION_VER)) != nvapi::OK)
        return std::nullopt;
    return version.drvVersion;
}

void readChipset(GpuFacts& facts) {
    nvapi::ChipsetInfo chipset;
    int32_t status = nvapi::INCOMPATIBLE_STRUCT_VERSION;
    for (uint32_t version : {nvapi::CHIPSET_INFO_VER4, nvapi::CHIPSET_INFO_VER3, nvapi::CHIPSET_INFO_VER2}) {
        status = nvCall<nvapi::ID_SYS_GetChipSetInfo>(&prepare(chipset, version));
        if (status != nvapi::INCOMPATIBLE_STRUCT_VERSION) break;
    }
    if (status == nvapi::ERROR) {
        char text[nvapi::SHORT_STRING];
        driverErrorText(status, text);
    }
    if (status != nvapi::OK) return;
    facts.chipsetVendor = driverText(chipset.szVendorName);
    facts.chipsetVendorId = chipset.vendorId;
}

// Bus width in bits; 0 when the driver refuses.
uint32_t busWidth(NvPhysicalGpuHandle gpu, bool& known) {
    uint32_t width = 0, location = 0;
    known = nvCall<nvapi::ID_GPU_GetRamBusWidth>(gpu, &width, &location) == nvapi::OK;
    return known ? width : 0;
}

using TextQuery = int32_t (*)(NvPhysicalGpuHandle, char (&)[nvapi::SHORT_STRING]);

int32_t fullName(NvPhysicalGpuHandle gpu, char (&text)[nvapi::SHORT_STRING]) {
    return nvCall<nvapi::ID_GPU_GetFullName>(gpu, text);
}
int32_t biosVersion(NvPhysicalGpuHandle gpu, char (&text)[nvapi::SHORT_STRING]) {
    return nvCall<nvapi::ID_GPU_GetVbiosVersionString>(gpu, text);
}

std::string mhzText(int32_t mhz) {
    return printed("%lldMHz", mhz);
}

std::optional<std::string> textQuery(TextQuery query, NvPhysicalGpuHandle gpu) {
    char text[nvapi::SHORT_STRING] = {};
    if (query(gpu, text) != nvapi::OK) return std::nullopt;
    return driverText(text);
}

}  // namespace

const char* memoryTypeText(int32_t code) {
    return code >= 0 && code < kMemoryTypeCount ? kMemoryTypes[code].text : kUnknown;
}

int32_t memoryDataRateFactor(int32_t code) {
    return code >= 0 && code < kMemoryTypeCount ? kMemoryTypes[code].factor : 0;
}

std::string formatDriverVersion(uint32_t version) {
    std::string text = printed("%lld", int32_t(version));
    size_t point = text.size() < 2 ? 0 : text.size() - 2;
    return text.insert(point, ".");
}

std::string formatBandwidth(int32_t dataRate, int32_t memoryMhz, uint32_t busWidthBits) {
    uint32_t product = uint32_t(dataRate) * uint32_t(memoryMhz) * busWidthBits;
    char text[48];
    std::snprintf(text, sizeof text, "%.1fGB/s", product * 0.125 / 1000);
    return text;
}

std::string readGpuName(NvPhysicalGpuHandle gpu) {
    return textQuery(fullName, gpu).value_or("");
}

std::optional<double> GpuFacts::bandwidthGbPerSecond() const {
    if (memoryDataRate <= 0 || !memoryClockMhz || *memoryClockMhz <= 0 || !memoryBusWidthBits)
        return std::nullopt;
    return uint32_t(memoryDataRate) * uint32_t(*memoryClockMhz) * *memoryBusWidthBits * 0.125 / 1000;
}

GpuFacts readGpuFacts(GpuContext& context) {
    NvPhysicalGpuHandle gpu = context.selectedHandle();
    GpuFacts facts;
    facts.name = textQuery(fullName, gpu);
    facts.memoryTotalMib = memoryTotalMib();
    facts.memoryTypeCode = memoryTypeCode(context, gpu);

    int32_t clocks[2] = {};
    if (readPstateClocks(clocks, context, false)) {
        facts.gpuClockMhz = clocks[0];
        facts.memoryClockMhz = clocks[1];
    }
    int32_t base[3] = {};
    if (readClocks(context, base, 1) || readPstateClocks(std::span<int32_t, 2>(base, 2), context, true))
        facts.baseClockMhz = base[0];
    facts.driverVersion = driverVersion();
    readChipset(facts);
    bool widthKnown = false;
    const uint32_t width = busWidth(gpu, widthKnown);
    if (widthKnown) facts.memoryBusWidthBits = width;
    int32_t deltas[2] = {};
    if (readPstateClocks(deltas, context, true)) facts.memoryClockMaxMhz = deltas[1];
    facts.biosVersion = textQuery(biosVersion, gpu);
    facts.memoryDataRate = context.memoryDataRate;
    return facts;
}

std::vector<std::string> informationStrings(const GpuFacts& facts) {
    // Clocks the driver did not give read 0, as they always have on the panel.
    std::vector<std::string> list;
    list.push_back(facts.name.value_or(kUnknown));
    list.emplace_back();
    list.push_back(facts.memoryTotalMib ? printed("%lldMB", *facts.memoryTotalMib) : kUnknown);
    list.push_back(facts.memoryTypeCode ? memoryTypeText(*facts.memoryTypeCode) : kUnknown);
    list.push_back(mhzText(facts.gpuClockMhz.value_or(0)));
    list.push_back(mhzText(facts.baseClockMhz.value_or(0)));
    list.push_back(facts.driverVersion ? formatDriverVersion(*facts.driverVersion) : kUnknown);
    if (facts.chipsetVendor) {
        char id[16];
        std::snprintf(id, sizeof id, "   %X", facts.chipsetVendorId);
        list.push_back(*facts.chipsetVendor + id);
    } else {
        list.push_back(kUnknown);
    }
    list.emplace_back();
    list.push_back(facts.memoryBusWidthBits ? printed("%lldBit", int32_t(*facts.memoryBusWidthBits))
                                            : kUnknown);
    list.push_back(formatBandwidth(facts.memoryDataRate, facts.memoryClockMhz.value_or(0),
                                   facts.memoryBusWidthBits.value_or(0)));
    list.push_back(mhzText(facts.memoryClockMhz.value_or(0)));
    list.push_back(mhzText(facts.memoryClockMaxMhz.value_or(0)));
    list.push_back(facts.biosVersion.value_or(kUnknown));
    return list;
}

void queryGpuInformation(GpuContext& context, std::vector<std::string>& list) {
    for (std::string& text : informationStrings(readGpuFacts(context))) list.push_back(std::move(text));
}

void queryLiveClockInformation(std::vector<std::string>& list) {
    GpuContext& context = globalContext();
    bool widthKnown = false;
    uint32_t width = busWidth(context.selectedHandle(), widthKnown);
    int32_t clocks[2] = {};
    readPstateClocks(clocks, context, false);
    list.push_back(mhzText(clocks[0]));
    list.push_back(mhzText(clocks[1]));
    list.push_back(formatBandwidth(context.memoryDataRate, clocks[1], width));
}

}  // namespace gpu
