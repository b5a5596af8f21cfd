#include "fan_owners.h"

#include "bridge.h"
#include "signals.h"
#include "state_file.h"

namespace vantreld {

void FanOwners::take(unsigned position, uint64_t connection, const ucred& peer) {
    const bool was = holders_[position].connection != 0 || (service_ >> position & 1u);
    holders_[position] = {connection, peer};
    if (!was) changed();
}

void FanOwners::release(unsigned position) {
    if (holders_[position].connection == 0) return;
    holders_[position] = {};
    if (!(service_ >> position & 1u)) changed();
}

uint64_t FanOwners::held(uint64_t connection) const {
    uint64_t mask = 0;
    for (unsigned p = 0; p < kMaxPositions; ++p)
        if (holders_[p].connection != 0 && (connection == 0 || holders_[p].connection == connection))
            mask |= uint64_t{1} << p;
    return mask;
}

void FanOwners::setServiceHeld(uint64_t positions) {
    if (positions == service_) return;
    const uint64_t before = held() | service_;
    service_ = positions;
    if ((held() | service_) != before) changed();
}

void FanOwners::changed() const {
    const uint64_t positions = held() | service_;
    CrashHandBack::setHeld(positions);
    if (!state_) return;
    // The file names NVML's device indices, the same after a restart.
    uint64_t indices = 0;
    const auto& devices = nvml_bridge::bridge().devices();
    for (unsigned p = 0; p < kMaxPositions && p < devices.size(); ++p)
        if ((positions & (uint64_t{1} << p)) && devices[p].index < 64)
            indices |= uint64_t{1} << devices[p].index;
    state_->write(indices);
}

}  // namespace vantreld
