// The bridge's side of vantreld: while the service's socket exists, every write goes to the
// service and its answer is the bridge's, so the service can give the fans back if this process
// dies. Without the socket, writes stay in this process.
#pragma once

#include <cstdint>

namespace nvml_bridge {

class ServiceLink {
  public:
    ServiceLink() = default;
    ~ServiceLink() { close(); }
    ServiceLink(const ServiceLink&) = delete;
    ServiceLink& operator=(const ServiceLink&) = delete;

    // True when the service took the write; status is then its answer. False: write in-process.
    bool forward(uint32_t interfaceId, unsigned gpu, uint32_t arg, const void* payload, uint32_t length,
                 int32_t& status);
    // A request of the service's own (kKeep, kStatus): false when no service answers at all;
    // otherwise status is its answer and, with OK, answer holds answerLength bytes of its reply.
    bool call(uint32_t request, unsigned gpu, const void* payload, uint32_t length, void* answer,
              uint32_t answerLength, int32_t& status);
    // Hands back the fans this process set through the service, then disconnects.
    void close();
    // Inside the service itself every write is in-process.
    void disable() { disabled_ = true; }

  private:
    bool connect();
    bool exchange(uint32_t interfaceId, unsigned gpu, uint32_t arg, const void* payload, uint32_t length,
                  int32_t& status, void* answer = nullptr, uint32_t answerLength = 0);
    void drop();

    int fd_ = -1;
    bool disabled_ = false;
    bool manualFans_ = false;  // a manual fan level was set through the service
    bool reported_ = false;    // the unreachable socket was reported
};

}  // namespace nvml_bridge
