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

std::string memorySizeText() {
    nvapi::MemoryInfo memory;
    int32_t status = nvCall<nvapi::ID_GPU_GetMemoryInfo>(nullptr, &prepare(memory, nvapi::MEMORY_INFO_VER2));
    if (status == nvapi::INCOMPATIBLE_STRUCT_VERSION)
        status = nvCall<nvapi::ID_GPU_GetMemoryInfo>(nullptr, &prepare(memory, nvapi::MEMORY_INFO_VER1));
    if (status == nvapi::ERROR) {
        char text[nvapi::SHORT_STRING];
        driverErrorText(status, text);
    }
    if (status != nvapi::OK) return kUnknown;
    return printed("%lldMB", memory.dedicatedVideoMemory >> 10);
}

std::string memoryTypeEntry(GpuContext& context, NvPhysicalGpuHandle gpu) {
    int32_t code = -1;
    if (nvCall<nvapi::ID_GPU_GetRamType>(gpu, &code) != nvapi::OK) return kUnknown;
    if (int32_t factor = memoryDataRateFactor(code)) context.memoryDataRate = factor;
    return memoryTypeText(code);
}

std::string driverVersionText() {
    nvapi::DisplayDriverVersion version;
    if (nvCall<nvapi::ID_SYS_GetDriverVersion>(
            nullptr, &prepare(version, nvapi::DISPLAY_DRIVER_VERSION_VER)) != nvapi::OK)
        return kUnknown;
    return formatDriverVersion(version.drvVersion);
}

std::string chipsetText() {
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
    if (status != nvapi::OK) return kUnknown;
    char id[16];
    std::snprintf(id, sizeof id, "   %X", chipset.vendorId);
    return driverText(chipset.szVendorName) + id;
}

// Bus width in bits; 0 when the driver refuses.
uint32_t busWidth(NvPhysicalGpuHandle gpu, bool& known) {
    uint32_t width = 0, location = 0;
    known = nvCall<nvapi::ID_GPU_GetRamBusWidth>(gpu, &width, &location) == nvapi::OK;
    return known ? width : 0;
}

using TextQuery = int32_t (*)(NvPhysicalGpuHandle, char (&)[nvapi::SHORT_STRING]);

// The driver's text, or failed when it refuses.
std::string stringQuery(TextQuery query, NvPhysicalGpuHandle gpu, const char* failed) {
    char text[nvapi::SHORT_STRING] = {};
    if (query(gpu, text) != nvapi::OK) return failed;
    return driverText(text);
}

int32_t fullName(NvPhysicalGpuHandle gpu, char (&text)[nvapi::SHORT_STRING]) {
    return nvCall<nvapi::ID_GPU_GetFullName>(gpu, text);
}
int32_t biosVersion(NvPhysicalGpuHandle gpu, char (&text)[nvapi::SHORT_STRING]) {
    return nvCall<nvapi::ID_GPU_GetVbiosVersionString>(gpu, text);
}

std::string mhzText(int32_t mhz) {
    return printed("%lldMHz", mhz);
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
    return stringQuery(fullName, gpu, "");
}

void queryGpuInformation(GpuContext& context, std::vector<std::string>& list) {
    NvPhysicalGpuHandle gpu = context.selectedHandle();
    list.push_back(stringQuery(fullName, gpu, kUnknown));
    list.emplace_back();
    list.push_back(memorySizeText());
    list.push_back(memoryTypeEntry(context, gpu));

    int32_t clocks[2] = {};
    readPstateClocks(clocks, context, false);
    list.push_back(mhzText(clocks[0]));

    int32_t base[3] = {};
    if (!readClocks(context, base, 1)) readPstateClocks(std::span<int32_t, 2>(base, 2), context, true);
    list.push_back(mhzText(base[0]));

    list.push_back(driverVersionText());
    list.push_back(chipsetText());
    list.emplace_back();

    bool widthKnown = false;
    uint32_t width = busWidth(gpu, widthKnown);
    list.push_back(widthKnown ? printed("%lldBit", int32_t(width)) : kUnknown);
    list.push_back(formatBandwidth(context.memoryDataRate, clocks[1], width));
    list.push_back(mhzText(clocks[1]));

    readPstateClocks(std::span<int32_t, 2>(base, 2), context, true);
    list.push_back(mhzText(base[1]));

    list.push_back(stringQuery(biosVersion, gpu, kUnknown));
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
