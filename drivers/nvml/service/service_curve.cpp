#include "service_curve.h"

#include <cstdio>

#include "bridge.h"
#include "interfaces.h"
#include "kept_apply.h"

namespace vantreld {

fan::FanCurve fanCurveOf(const nvapi::KeptFanCurve& c) {
    fan::FanCurve curve;
    for (int i = 0; i < fan::kFanPointCount; ++i) curve.points[size_t(i)] = {c.x[i], c.y[i]};
    curve.blLine = c.stepped ? 1 : 0;
    return curve;
}

ServiceCurve::Io::Io(unsigned p, const nvapi::KeptFanCurve& c)
    : position(p),
      gate(int32_t(c.hysteresisC), fan::largestStep(fanCurveOf(c).points), int64_t(c.minChangeMs)) {}

int32_t ServiceCurve::Io::readGpuTemperature(int32_t out[3]) {
    nvapi::ThermalSettings t{};
    t.version = nvapi::THERMAL_SETTINGS_VER;
    t.count = 3;
    const int32_t status = nvml_bridge::getThermalSettings(nvml_bridge::Bridge::handleOf(position), 0, &t);
    if (status != nvapi::OK || t.count < 1) return status != nvapi::OK ? status : nvapi::ERROR;
    out[0] = lastTemperature = t.sensor[0].currentTemp;
    return nvapi::OK;
}

void ServiceCurve::Io::setFanLevel(int32_t percent) {
    if (!gate.pass(lastTemperature, percent, nowMs)) return;
    const int32_t status = writeFanLevel(position, uint32_t(percent));
    std::fprintf(stderr, "vantreld: GPU %u: fans at %d %% at %d °C (kept curve)%s\n",
                 nvml_bridge::bridge().devices()[position].index, percent, lastTemperature,
                 status == nvapi::OK ? "" : ", refused by the driver");
    if (status == nvapi::OK)
        lastLevel = percent;
    else
        gate.reset();  // tried again next tick
}

bool ServiceCurve::Io::restoreFanDefault() {
    gate.reset();
    lastLevel = -1;
    const int32_t status = giveBackToDriver(position);
    std::fprintf(
        stderr, "vantreld: GPU %u: no temperature in three reads; fans %s to the driver until one succeeds\n",
        nvml_bridge::bridge().devices()[position].index,
        status == nvapi::OK ? "given back" : "could not be given back");
    return status == nvapi::OK;
}

bool ServiceCurve::Io::fanControllable() {
    return nvml_bridge::bridge().devices()[position].fanCount > 0;
}

bool ServiceCurve::Io::readFanRange(int32_t range[2]) {
    const nvml_bridge::Device& d = nvml_bridge::bridge().devices()[position];
    range[0] = int32_t(d.minFanSpeed);
    range[1] = int32_t(d.maxFanSpeed);
    return true;
}

ServiceCurve::ServiceCurve(unsigned position, const nvapi::KeptFanCurve& curve)
    : io_(position, curve), controller_(io_), period_(std::chrono::milliseconds(curve.periodMs)) {
    controller_.setCurve(fanCurveOf(curve));
    restart(Clock::now());
}

void ServiceCurve::tick(Clock::time_point now) {
    io_.nowMs = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    controller_.step();
    // Due times keep to the period's grid; a late tick does not pile up ticks behind it.
    due_ += period_;
    if (due_ <= now) due_ = now + period_;
}

void ServiceCurve::restart(Clock::time_point now) {
    io_.gate.reset();
    controller_.resetFailures();
    due_ = now;
}

}  // namespace vantreld
