// The card writes of kept settings, each built as the program builds it and checked against the
// card's ranges exactly as a client's write is, when it is kept and again when it is applied.
#pragma once

#include <cstdint>
#include <string>

#include "nvapi_contract.h"

namespace vantreld {

// The bridge device position of an NVML device index, or -1.
int positionOf(uint32_t nvmlIndex);

// The GPU's UUID, else its PCI bus id; "" when NVML gives neither.
std::string gpuId(unsigned position);

// False, with why naming the first value the card at position cannot take.
bool checkKeptOnCard(unsigned position, const nvapi::KeptSettings& k, std::string& why);

// Writes k's clock offsets, power and temperature target (the fan is the caller's), each logged
// under label; false when one of them failed.
bool applyKeptTuning(unsigned position, const nvapi::KeptSettings& k, const char* label);

int32_t writeFanLevel(unsigned position, uint32_t percent);
// A GPU's fans back to the driver: any policy but the manual one does it.
int32_t giveBackToDriver(unsigned position);

}  // namespace vantreld
