// vantreld's loop: one thread polling the listening socket, every client and the stop signal.
// The fans of a GPU belong to the connection that last set them to a manual level; when it
// ends without giving them back (the program was killed), or when the service stops, they go
// back to the driver. Fans held when the service died are handed back at its next start.
// Settings kept for a GPU are applied at start; a kept fan curve or level runs whenever no
// client holds that GPU's fans, and takes them back when the client lets go.
#pragma once

#include <sys/socket.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "admission.h"
#include "fan_owners.h"
#include "kept_file.h"
#include "nvapi_contract.h"
#include "service_curve.h"
#include "service_protocol.h"

namespace vantreld {

class StateFile;

class Daemon {
  public:
    // state: where the held fans are kept (nullptr: nowhere); kept: the kept settings (nullptr:
    // none are kept).
    explicit Daemon(const StateFile* state, const KeptFile* kept = nullptr)
        : state_(state), keptFile_(kept), owners_(state) {}
    // Hands back every GPU the state file lists (a previous run's fans), then clears it.
    void handBackLastRun();
    // Applies what the kept file holds and starts the kept fan curves. A file naming a GPU that
    // is not here, or a value the card cannot take, is set aside whole.
    void applyKept();
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

    struct Kept {
        bool present = false;
        std::string id;
        nvapi::KeptSettings settings{};
        std::unique_ptr<ServiceCurve> curve;
    };
    bool keep(Connection& c, const vantrel_service::RequestHeader& h, const unsigned char* data);
    bool reportStatus(Connection& c, const vantrel_service::RequestHeader& h);
    bool keepsFan(unsigned position) const;
    // Takes position's fans up at the kept level or curve; false when none is kept.
    bool resumeKeptFan(unsigned position, const char* why);
    // The service lets go of position's fans: back to the driver.
    void stopKeptFan(unsigned position, const char* why);
    void tickCurves();
    bool saveKept() const;
    // At boot NVML may answer only once the driver has loaded: while settings are kept and it
    // has not started, it is tried again now and then, and the kept settings applied then.
    void retryNvml();
    Clock::time_point nextNvmlTry_ = Clock::now();

    int listenFd_ = -1;
    const StateFile* state_;
    const KeptFile* keptFile_;
    FanOwners owners_;
    Kept kept_[FanOwners::kMaxPositions];
    bool stopping_ = false;
    Admission admission_;
    uint64_t nextId_ = 1;
    std::vector<std::unique_ptr<Connection>> connections_;
};

}  // namespace vantreld
