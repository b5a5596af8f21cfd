#include "sim_gpu.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace sim {

using namespace nvapi;

namespace {

// Longest integration step; longer gaps are split so the coupled temperature and fan stay stable.
constexpr double kStep = 0.5;
// A gap longer than this has long settled; only its tail is integrated.
constexpr double kSettled = 600;
constexpr double kFanTau = 2;  // s

double approach(double from, double to, double dt, double tau) {
    return from + (to - from) * (1 - std::exp(-dt / std::max(tau, 1e-3)));
}

Pstate* findPstate(PstateTable& table, uint32_t id) {
    for (Pstate& p : table.pstates) {
        if (p.id == id) return &p;
    }
    return nullptr;
}

template <typename Entry>
Entry* findDomain(std::vector<Entry>& entries, uint32_t domain) {
    for (Entry& e : entries) {
        if (e.domain == domain) return &e;
    }
    return nullptr;
}

bool inRange(const Delta& d, int32_t value) {
    return value >= d.min && value <= d.max;
}

// Collects the changes of a write so nothing is applied unless every entry was accepted.
template <typename T>
class PendingChanges {
  public:
    void add(T* where, T value) { changes_.push_back({where, value}); }
    void apply() {
        for (auto& [where, value] : changes_) *where = value;
    }

  private:
    std::vector<std::pair<T*, T>> changes_;
};

}  // namespace

SimGpu::SimGpu(GpuDesc desc) : desc_(std::move(desc)), temperature_(desc_.temperature.initial) {
    for (const CoolerDesc& c : desc_.coolers.coolers) fans_.push_back({double(c.level), c.policy});
}

void SimGpu::advanceTo(double t) {
    if (!(t > time_)) return;
    double dt = t - time_;
    if (dt > kSettled) {
        time_ = t - kSettled;
        dt = kSettled;
    }
    while (dt > 0) {
        double h = std::min(dt, kStep);
        step(h);
        dt -= h;
    }
    time_ = t;
}

void SimGpu::step(double dt) {
    if (!desc_.temperature.fixed) {
        temperature_ = approach(temperature_, equilibriumTemperature(), dt, desc_.temperature.tau);
    }
    for (size_t i = 0; i < fans_.size(); ++i) {
        if (fans_[i].policy != COOLER_POLICY_MANUAL) {
            fans_[i].level = approach(fans_[i].level, autoFanLevel(desc_.coolers.coolers[i]), dt, kFanTau);
        }
    }
    time_ += dt;
}

double SimGpu::gpuLoad() const {
    const LoadModel& m = desc_.load;
    double period = m.period > 0 ? m.period : 1;
    return std::clamp(m.gpu + m.swing * std::sin(2 * std::numbers::pi * time_ / period), 0.0, 100.0);
}

double SimGpu::frameBufferLoad() const {
    const LoadModel& m = desc_.load;
    double period = m.period > 0 ? m.period : 1;
    return std::clamp(m.frameBuffer + m.swing / 2 * std::sin(2 * std::numbers::pi * time_ / period), 0.0,
                      100.0);
}

uint32_t SimGpu::memoryUsed() const {
    const MemoryDesc& m = desc_.memory;
    double used = m.used * (1 + 0.4 * (gpuLoad() - desc_.load.gpu) / 100);
    return uint32_t(std::clamp(used, 0.0, double(m.dedicated)));
}

int32_t SimGpu::temperature() const {
    return int32_t(std::lround(desc_.temperature.fixed.value_or(temperature_)));
}

uint32_t SimGpu::fanLevel(size_t cooler) const {
    return uint32_t(std::lround(fans_[cooler].level));
}

uint32_t SimGpu::tachometer() const {
    if (fans_.empty()) return 0;
    return fanLevel(0) * desc_.coolers.maxRpm / 100;
}

const PowerPolicyDesc* SimGpu::policyForDomain(uint32_t domain) const {
    const auto& policies = desc_.power.policies;
    for (const PowerPolicyDesc& p : policies) {
        if (p.domain == domain) return &p;
    }
    return policies.empty() ? nullptr : &policies.front();
}

uint32_t SimGpu::draw(uint32_t domain) const {
    for (const TopologyDomain& d : desc_.topology.domains) {
        if (d.id == domain && d.power) return *d.power;
    }
    const PowerPolicyDesc* policy = policyForDomain(domain);
    double limit = policy ? policy->limit : 100000.0;
    return uint32_t(limit * (0.25 + 0.75 * gpuLoad() / 100));
}

double SimGpu::thermalCeiling() const {
    if (desc_.thermal.supported && desc_.thermal.valid) {
        for (const ThermalPolicyDesc& p : desc_.thermal.policies) {
            if (p.controller == THERMAL_CONTROLLER_GPU) return p.target / 256.0;
        }
    }
    return std::numeric_limits<double>::infinity();
}

double SimGpu::equilibriumTemperature() const {
    const TemperatureModel& m = desc_.temperature;
    double fan = fans_.empty() ? 0 : fans_.front().level;
    double t = m.ambient + m.perPower * draw(0) / 1000.0 - m.perFan * fan;
    return std::min(std::max(t, m.ambient), thermalCeiling());
}

double SimGpu::autoFanLevel(const CoolerDesc& cooler) const {
    double level = cooler.defaultMin + 2 * (temperature_ - 45);
    return std::clamp(level, double(cooler.defaultMin),
                      double(std::max(cooler.defaultMin, cooler.defaultMax)));
}

int32_t SimGpu::clockDelta(uint32_t domain) const {
    for (const Pstate& p : desc_.pstates.pstates) {
        if (p.id != 0) continue;
        for (const PstateClock& c : p.clocks) {
            if (c.domain == domain) return c.delta.value;
        }
    }
    return 0;
}

uint32_t SimGpu::coreVoltage() const {
    int64_t uv = 0;
    for (const Pstate& p : desc_.pstates.pstates) {
        if (p.id != 0) continue;
        for (const PstateVoltage& v : p.baseVoltages) {
            if (v.domain == 0) uv = int64_t(v.voltage) + v.delta.value;
        }
    }
    for (const PstateVoltage& v : desc_.pstates.overVoltages) {
        if (v.domain == 0) uv += v.delta.value;
    }
    return uint32_t(std::max<int64_t>(uv, 0));
}

uint32_t SimGpu::graphicsClock(uint32_t type) const {
    const ClockDesc& c = desc_.clocks;
    if (type == 1) return c.base;
    double khz = type == 2 ? c.boost : c.base + (double(c.boost) - c.base) * gpuLoad() / 100;
    return uint32_t(std::max(khz + clockDelta(0), 0.0));
}

uint32_t SimGpu::memoryClock(uint32_t type) const {
    const ClockDesc& c = desc_.clocks;
    if (type == 1) return c.memory;
    return uint32_t(std::max<int64_t>(int64_t(c.memory) + clockDelta(4), 0));
}

int32_t SimGpu::setPstates(const Pstates20Info& info, bool withOverVoltage) {
    if (info.numPstates > 16 || info.numClocks > 8 || info.numBaseVoltages > 4) return INVALID_ARGUMENT;
    if (withOverVoltage && info.overVoltage.numVoltages > 4) return INVALID_ARGUMENT;
    PstateTable& table = desc_.pstates;
    PendingChanges<int32_t> changes;
    auto stage = [&](bool editable, Delta* delta, int32_t value) {
        if (!delta || !editable || !table.editable || !inRange(*delta, value)) return false;
        changes.add(&delta->value, value);
        return true;
    };
    for (uint32_t i = 0; i < info.numPstates; ++i) {
        const Pstates20Entry& entry = info.pstates[i];
        Pstate* p = findPstate(table, entry.pstateId);
        if (!p) return INVALID_ARGUMENT;
        for (uint32_t j = 0; j < info.numClocks; ++j) {
            const Pstates20Clock& c = entry.clocks[j];
            PstateClock* clock = findDomain(p->clocks, c.domainId);
            if (!stage(p->editable && clock && clock->editable, clock ? &clock->delta : nullptr,
                       c.freqDelta_kHz.value))
                return INVALID_ARGUMENT;
        }
        for (uint32_t k = 0; k < info.numBaseVoltages; ++k) {
            const Pstates20Voltage& v = entry.baseVoltages[k];
            PstateVoltage* volt = findDomain(p->baseVoltages, v.domainId);
            if (!stage(p->editable && volt && volt->editable, volt ? &volt->delta : nullptr,
                       v.voltDelta_uV.value))
                return INVALID_ARGUMENT;
        }
    }
    if (withOverVoltage) {
        for (uint32_t o = 0; o < info.overVoltage.numVoltages; ++o) {
            const Pstates20Voltage& v = info.overVoltage.voltages[o];
            PstateVoltage* volt = findDomain(table.overVoltages, v.domainId);
            if (!stage(volt && volt->editable, volt ? &volt->delta : nullptr, v.voltDelta_uV.value))
                return INVALID_ARGUMENT;
        }
    }
    changes.apply();
    return OK;
}

int32_t SimGpu::setPowerLimits(const PowerPolicyStatus& status) {
    PowerPolicies& power = desc_.power;
    if (!power.supported || !power.valid) return NOT_SUPPORTED;
    if (status.count == 0 || status.count > 4) return INVALID_ARGUMENT;
    PendingChanges<uint32_t> changes;
    for (uint32_t i = 0; i < status.count; ++i) {
        const PowerPolicyStatusEntry& e = status.entry[i];
        auto p = std::find_if(power.policies.begin(), power.policies.end(),
                              [&](const PowerPolicyDesc& d) { return d.id == e.policyId; });
        if (p == power.policies.end() || e.power < p->min || e.power > p->max) return INVALID_ARGUMENT;
        changes.add(&p->limit, e.power);
    }
    changes.apply();
    return OK;
}

int32_t SimGpu::setThermalTargets(const ThermalPolicyStatus& status) {
    ThermalPolicies& thermal = desc_.thermal;
    if (!thermal.supported || !thermal.valid) return NOT_SUPPORTED;
    if (status.count == 0 || status.count > 4) return INVALID_ARGUMENT;
    PendingChanges<int32_t> targets;
    PendingChanges<uint32_t> flags;
    for (uint32_t i = 0; i < status.count; ++i) {
        const ThermalPolicyStatusEntry& e = status.entry[i];
        auto p = std::find_if(thermal.policies.begin(), thermal.policies.end(),
                              [&](const ThermalPolicyDesc& d) { return d.controller == e.controller; });
        if (p == thermal.policies.end() || e.targetTemp < p->min || e.targetTemp > p->max)
            return INVALID_ARGUMENT;
        targets.add(&p->target, e.targetTemp);
        flags.add(&p->flags, e.flags);
    }
    targets.apply();
    flags.apply();
    return OK;
}

int32_t SimGpu::setCoolerLevel(uint32_t target, uint32_t level, uint32_t policy) {
    const auto& coolers = desc_.coolers.coolers;
    if (coolers.empty()) return NOT_SUPPORTED;
    if (level > 100) return INVALID_ARGUMENT;
    std::vector<size_t> addressed;
    for (size_t i = 0; i < coolers.size(); ++i) {
        if (target == COOLER_TARGET_ALL || (coolers[i].target & target) != 0) addressed.push_back(i);
    }
    if (addressed.empty()) return INVALID_ARGUMENT;
    for (size_t i : addressed) {
        fans_[i].policy = policy;
        // Under the driver's own policy the level keeps moving from where it is.
        if (policy == COOLER_POLICY_MANUAL) fans_[i].level = level;
    }
    return OK;
}

}  // namespace sim
