// vantreld's loop: one thread polling the listening socket, every client and the stop signal.
// Each connection remembers the GPUs whose fans it set to a manual level; when it ends without
// giving them back (the program was killed), or when the service stops, the fans go back to
// the driver.
#pragma once

#include <sys/socket.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "service_protocol.h"

namespace vantreld {

class Daemon {
  public:
    explicit Daemon(int listenFd) : listenFd_(listenFd) {}
    // Serves until stopFd becomes readable; then hands back every client's fans.
    void run(int stopFd);

  private:
    using Clock = std::chrono::steady_clock;
    struct Connection {
        int fd = -1;
        ucred peer{};
        std::vector<unsigned char> in;  // bytes of the frame being received
        Clock::time_point partialSince;
        uint64_t manualGpus = 0;      // bridge device positions whose fans this client set manual
        uint32_t lastLevel[64] = {};  // last manual level logged per position
    };

    void accept();
    bool receive(Connection& c);  // false: the connection is to end
    bool handle(Connection& c, const vantrel_service::RequestHeader& h, const unsigned char* payload);
    int32_t write(Connection& c, unsigned position, const vantrel_service::RequestHeader& h, void* payload);
    void handBack(Connection& c, const char* why);
    void end(std::size_t index, const char* why);
    int pollTimeoutMs() const;

    int listenFd_;
    std::vector<std::unique_ptr<Connection>> connections_;
};

}  // namespace vantreld
