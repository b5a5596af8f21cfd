// Which connection holds each GPU's fans at a manual level: the last one to set a manual level.
// Every change is mirrored in the state file and in what the fault handler would hand back.
#pragma once

#include <sys/socket.h>

#include <cstdint>

namespace vantreld {

class StateFile;

class FanOwners {
  public:
    static constexpr unsigned kMaxPositions = 64;
    struct Holder {
        uint64_t connection = 0;  // 0: no client holds the fans
        ucred peer{};
    };

    explicit FanOwners(const StateFile* state) : state_(state) {}

    // position: a bridge device position below kMaxPositions.
    const Holder& holder(unsigned position) const { return holders_[position]; }
    void take(unsigned position, uint64_t connection, const ucred& peer);
    void release(unsigned position);
    // Positions held by connection (0: by any client).
    uint64_t held(uint64_t connection = 0) const;
    // Positions whose fans the service itself runs at a kept level or curve: handed back on a
    // crash of the service like a client's.
    void setServiceHeld(uint64_t positions);
    uint64_t serviceHeld() const { return service_; }

  private:
    void changed() const;

    Holder holders_[kMaxPositions];
    uint64_t service_ = 0;
    const StateFile* state_;
};

}  // namespace vantreld
