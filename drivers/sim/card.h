// What a simulated card is made of: the facts and initial values a card description sets.
// Plain data; the running state lives in SimGpu.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct Delta {
    int32_t value = 0;
    int32_t min = 0;
    int32_t max = 0;
};

struct PstateClock {
    uint32_t domain = 0;
    uint32_t type = 0;  // 0 single frequency, 1 range
    bool editable = true;
    Delta delta;
    uint32_t freq = 0;     // single
    uint32_t minFreq = 0;  // range
    uint32_t maxFreq = 0;
    uint32_t voltageDomain = 0;
    uint32_t minVoltage = 0;
    uint32_t maxVoltage = 0;
};

struct PstateVoltage {
    uint32_t domain = 0;
    bool editable = true;
    uint32_t voltage = 0;  // µV
    Delta delta;
};

struct Pstate {
    uint32_t id = 0;
    bool editable = true;
    std::vector<PstateClock> clocks;
    std::vector<PstateVoltage> baseVoltages;
};

struct PstateTable {
    bool editable = true;
    std::vector<Pstate> pstates;
    std::vector<PstateVoltage> overVoltages;
};

struct MemoryDesc {
    uint32_t dedicated = 0;  // KB
    uint32_t available = 0;
    uint32_t system = 0;
    uint32_t shared = 0;
    uint32_t used = 0;
};

struct ClockDesc {
    uint32_t base = 0;  // kHz
    uint32_t boost = 0;
    uint32_t memory = 0;
};

struct LoadModel {
    double gpu = 0;  // %
    double frameBuffer = 0;
    double swing = 0;
    double period = 1;  // s
};

struct ThermalSensorDesc {
    int32_t controller = 1;
    int32_t defaultMin = 0;
    int32_t defaultMax = 0;
    int32_t target = 1;
    std::optional<int32_t> temp;  // fixed °C
};

struct TemperatureModel {
    double initial = 0;  // °C
    double ambient = 0;
    double perPower = 0;  // °C per percent of draw
    double perFan = 0;    // °C per percent of fan level
    double tau = 1;       // s
    std::optional<double> fixed;
};

struct CoolerDesc {
    uint32_t type = 0;
    uint32_t controller = 0;
    uint32_t defaultMin = 0;
    uint32_t defaultMax = 0;
    uint32_t currentMin = 0;
    uint32_t currentMax = 0;
    uint32_t level = 0;
    uint32_t defaultPolicy = 0;
    uint32_t policy = 0;
    uint32_t target = 0;
    uint32_t controlType = 0;
    uint32_t active = 0;
};

struct CoolerSet {
    uint32_t maxRpm = 0;
    std::vector<CoolerDesc> coolers;
};

struct TopologyDomain {
    uint32_t id = 0;
    std::optional<uint32_t> power;  // fixed draw, thousandths of a percent
};

struct PowerTopology {
    bool supported = true;
    bool valid = true;
    std::vector<TopologyDomain> domains;
};

struct PowerPolicyDesc {
    uint32_t id = 0;
    uint32_t domain = 0;
    uint32_t min = 0;  // thousandths of a percent
    uint32_t def = 0;
    uint32_t max = 0;
    uint32_t limit = 0;
};

struct PowerPolicies {
    bool supported = true;
    bool valid = true;
    std::vector<PowerPolicyDesc> policies;
};

struct ThermalPolicyDesc {
    uint32_t controller = 1;
    int32_t min = 0;  // 1/256 °C
    int32_t def = 0;
    int32_t max = 0;
    int32_t target = 0;
    uint32_t flags = 0;
};

struct ThermalPolicies {
    bool supported = true;
    bool valid = true;
    std::vector<ThermalPolicyDesc> policies;
};

// An injected status: the first `after` calls succeed, then `times` calls (0 = all) answer `status`.
struct Fault {
    int32_t status = 0;
    uint32_t after = 0;
    uint32_t times = 0;
};

// Keyed by interface ID.
using FaultMap = std::map<uint32_t, Fault>;
using VersionMap = std::map<uint32_t, std::vector<uint32_t>>;

struct GpuDesc {
    std::string name;
    std::string vbios;
    int32_t ramType = 0;
    uint32_t busWidth = 0;
    uint32_t busLocation = 0;  // the PCI bus number too
    std::string uuid;          // empty: one made up from the GPU's index
    double defaultPowerW = 0;  // what 100 % of the power readings is; 0: not known in watts
    MemoryDesc memory;
    ClockDesc clocks;
    LoadModel load;
    PstateTable pstates;
    std::vector<ThermalSensorDesc> sensors;
    TemperatureModel temperature;
    CoolerSet coolers;
    PowerTopology topology;
    PowerPolicies power;
    ThermalPolicies thermal;
    FaultMap faults;
    VersionMap versions;
};

struct DriverDesc {
    uint32_t version = 0;
    uint32_t changelist = 0;
    std::string branch;
    std::string adapter;
};

struct ChipsetDesc {
    uint32_t vendorId = 0;
    uint32_t deviceId = 0;
    std::string vendorName;
    std::string chipsetName;
    uint32_t flags = 0;
    uint32_t subSysVendorId = 0;
    uint32_t subSysDeviceId = 0;
    std::string subSysVendorName;
    uint32_t hbVendorId = 0;
    uint32_t hbDeviceId = 0;
    uint32_t hbSubSysVendorId = 0;
    uint32_t hbSubSysDeviceId = 0;
};

struct CardDesc {
    bool frozen = false;
    DriverDesc driver;
    ChipsetDesc chipset;
    std::map<int32_t, std::string> errorTexts;
    FaultMap faults;
    VersionMap versions;
    std::vector<GpuDesc> gpus;
};

// The card used without a description, and the source of every default a description leaves out.
CardDesc typicalCard();

}  // namespace sim
