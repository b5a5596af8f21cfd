// One simulated GPU while the library runs: its description, what was written to it, and the
// simple dynamics that make its readings move.
#pragma once

#include <cstdint>
#include <vector>

#include "card.h"
#include "nvapi_contract.h"

namespace sim {

class SimGpu {
  public:
    explicit SimGpu(GpuDesc desc);

    const GpuDesc& desc() const { return desc_; }

    // Moves the dynamics forward to simulated time t (seconds since the card was built).
    void advanceTo(double t);

    double gpuLoad() const;                  // %
    double frameBufferLoad() const;          // %
    uint32_t memoryUsed() const;             // KB
    int32_t temperature() const;             // whole °C
    uint32_t fanLevel(size_t cooler) const;  // %
    uint32_t fanPolicy(size_t cooler) const { return fans_[cooler].policy; }
    uint32_t tachometer() const;           // RPM
    uint32_t draw(uint32_t domain) const;  // thousandths of a percent
    uint32_t coreVoltage() const;          // µV

    // Clock domain frequency in kHz for a clock type (0 current, 1 base, 2 boost).
    uint32_t graphicsClock(uint32_t type) const;
    uint32_t memoryClock(uint32_t type) const;

    // Writes; each checks everything before changing anything and answers a status.
    int32_t setPstates(const nvapi::Pstates20Info& info, bool withOverVoltage);
    void enableOverclocking(bool on) { overclockingEnabled_ = on; }
    bool overclockingEnabled() const { return overclockingEnabled_; }
    int32_t setPowerLimits(const nvapi::PowerPolicyStatus& status);
    int32_t setThermalTargets(const nvapi::ThermalPolicyStatus& status);
    int32_t setCoolerLevel(uint32_t target, uint32_t level, uint32_t policy);

  private:
    struct FanState {
        double level;
        uint32_t policy;
    };

    int32_t clockDelta(uint32_t domain) const;
    double equilibriumTemperature() const;
    double autoFanLevel(const CoolerDesc& cooler) const;
    double thermalCeiling() const;
    void step(double dt);
    const PowerPolicyDesc* policyForDomain(uint32_t domain) const;

    GpuDesc desc_;
    std::vector<FanState> fans_;
    double time_ = 0;
    double temperature_;
    bool overclockingEnabled_ = false;
};

}  // namespace sim
