// Which physical GPUs the driver has and which one the program works on.
#pragma once

#include <cstdint>

#include "nvapi_contract.h"

namespace gpu {

class GpuContext {
  public:
    // Initialises the driver and enumerates the physical GPUs. A missing driver
    // library is reported by initializeStatus() == -2; showing the start-up
    // failure and ending the process is the caller's part.
    GpuContext();
    // Releases its initialisation of the driver; the last release unloads it.
    ~GpuContext();
    GpuContext(const GpuContext&) = delete;
    GpuContext& operator=(const GpuContext&) = delete;

    int32_t initializeStatus() const { return initializeStatus_; }
    bool driverMissing() const { return initializeStatus_ == nvapi::LIBRARY_NOT_FOUND; }
    // The handle at selectedIndex, or null when the index is outside the table.
    NvPhysicalGpuHandle selectedHandle() const;

    int32_t count = 0;
    NvPhysicalGpuHandle handles[nvapi::MAX_PHYSICAL_GPUS] = {};
    int32_t selectedIndex = 0;
    int32_t memoryDataRate = 0;

  private:
    struct Unbound {};
    explicit GpuContext(Unbound) : bound_(false) {}
    friend GpuContext& globalContext();

    int32_t initializeStatus_ = nvapi::OK;
    bool bound_ = true;
};

// The context the whole program works on: the one registered by
// GlobalContextScope, else an empty one (no GPU) that never touches the driver.
GpuContext& globalContext();

// Makes a context the global one for the scope's lifetime.
class GlobalContextScope {
  public:
    explicit GlobalContextScope(GpuContext& context);
    ~GlobalContextScope();
    GlobalContextScope(const GlobalContextScope&) = delete;
    GlobalContextScope& operator=(const GlobalContextScope&) = delete;

  private:
    GpuContext* previous_;
};

// Fills text with the driver's text for status ("" when it has none).
void driverErrorText(int32_t status, char (&text)[nvapi::SHORT_STRING]);

}  // namespace gpu
