// vantreld's loop: one thread polling the listening socket, every client and the stop signal.
// The fans of a GPU belong to the connection that last set them to a manual level; when it
// ends without giving them back (the program was killed), or when the service stops, they go
// back to the driver. Fans held when the service died are handed back at its next start.
#pragma once

#include <sys/socket.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "admission.h"
#include "fan_owners.h"
#include "nvapi_contract.h"
#include "service_protocol.h"

namespace vantreld {

class StateFile;

class Daemon {
  public:
    // state: where the held fans are kept (nullptr: nowhere).
    explicit Daemon(const StateFile* state) : state_(state), owners_(state) {}
    // Hands back every GPU the state file lists (a previous run's fans), then clears it.
    void handBackLastRun();
    // Serves listenFd until stopFd becomes readable; then hands back every client's fans.
    void run(int listenFd, int stopFd);

  private:
    using Clock = std::chrono::steady_clock;
    struct Connection {
        int fd = -1;
        uint64_t id = 0;
        ucred peer{};
        Clock::time_point connectedAt;
        bool framed = false;            // it sent at least one whole frame
        std::vector<unsigned char> in;  // bytes of the frame being received
        Clock::time_point partialSince;
        uint64_t setManual = 0;       // positions this connection set manual and did not give back
        uint32_t lastLevel[64] = {};  // last manual level logged per position
    };

    void accept();
    bool receive(Connection& c);  // false: the connection is to end
    bool handle(Connection& c, const vantrel_service::RequestHeader& h, const unsigned char* payload);
    int32_t write(Connection& c, unsigned position, const vantrel_service::RequestHeader& h, void* payload);
    int32_t writeCoolers(Connection& c, unsigned position, const vantrel_service::RequestHeader& h,
                         nvapi::CoolerLevels* levels);
    // Gives back the positions in mask that c holds; false when one of c's was taken over.
    bool handBack(Connection& c, uint64_t mask, const char* why);
    void end(std::size_t index, const char* why);
    int pollTimeoutMs() const;

    int listenFd_ = -1;
    const StateFile* state_;
    FanOwners owners_;
    Admission admission_;
    uint64_t nextId_ = 1;
    std::vector<std::unique_ptr<Connection>> connections_;
};

}  // namespace vantreld
