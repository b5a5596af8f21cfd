// Display strings of the card's static facts and its live clocks. A value that
// cannot be read becomes "Unknown"; the lists always have their full length.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gpu/gpu_context.h"

namespace gpu {

// The full name of a physical GPU; empty when the driver refuses.
std::string readGpuName(NvPhysicalGpuHandle gpu);

// The card's static facts; an empty optional is one the driver did not give.
struct GpuFacts {
    std::optional<std::string> name;
    std::optional<uint32_t> memoryTotalMib;  // dedicated memory of the driver's default GPU
    std::optional<int32_t> memoryTypeCode;
    std::optional<int32_t> gpuClockMhz, memoryClockMhz;  // effective P0 clocks
    std::optional<int32_t> baseClockMhz;
    std::optional<int32_t> memoryClockMaxMhz;  // the memory clock's delta maximum
    std::optional<uint32_t> driverVersion;     // 31421 for 314.21
    std::optional<std::string> chipsetVendor;
    uint32_t chipsetVendorId = 0;
    std::optional<uint32_t> memoryBusWidthBits;
    std::optional<std::string> biosVersion;
    int32_t memoryDataRate = 0;  // transfers per clock, as the context had it after the read

    // Known when the data rate, the memory clock and the bus width are.
    std::optional<double> bandwidthGbPerSecond() const;
};

// Reads the facts of the context's GPU and sets the context's memoryDataRate
// from the memory type.
GpuFacts readGpuFacts(GpuContext& context);

// The fourteen information strings of the facts, in order: name, "", memory
// size, memory type, GPU clock, GPU base clock, driver version, chipset vendor,
// "", bus width, bandwidth, memory clock, memory clock limit, video BIOS version.
std::vector<std::string> informationStrings(const GpuFacts& facts);

// Appends the fourteen information strings of the context's GPU, in order:
// name, "", memory size, memory type, GPU clock, GPU base clock, driver version,
// chipset vendor, "", bus width, bandwidth, memory clock, memory clock limit,
// video BIOS version. Sets the context's memoryDataRate from the memory type.
void queryGpuInformation(GpuContext& context, std::vector<std::string>& list);
constexpr int kInformationCount = 14;

// Appends GPU clock, memory clock and bandwidth of the global context's GPU.
void queryLiveClockInformation(std::vector<std::string>& list);

// Memory type code -> text ("Unknown" for codes outside the table).
const char* memoryTypeText(int32_t code);
// Memory transfers per clock for a type code; 0 for codes outside the table
// (the context keeps its factor then).
int32_t memoryDataRateFactor(int32_t code);
// 31421 -> "314.21"; with fewer than two digits the point goes first.
std::string formatDriverVersion(uint32_t version);
// "%.1fGB/s" of rate × MHz × bits / 8 / 1000, the product taken as unsigned 32-bit.
std::string formatBandwidth(int32_t dataRate, int32_t memoryMhz, uint32_t busWidthBits);

}  // namespace gpu
