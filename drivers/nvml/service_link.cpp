#include "service_link.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "nvapi_contract.h"
#include "service_protocol.h"

namespace nvml_bridge {
namespace {

constexpr int kReplyTimeoutMs = 2000;

bool sendAll(int fd, const void* data, std::size_t size) {
    auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::send(fd, p, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool receiveAll(int fd, void* data, std::size_t size) {
    auto* p = static_cast<char*>(data);
    while (size > 0) {
        pollfd pfd{fd, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, kReplyTimeoutMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        const ssize_t n = ::recv(fd, p, size, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool ServiceLink::connect() {
    const std::string path = vantrel_service::socketPath();
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISSOCK(st.st_mode)) return false;
    sockaddr_un addr{};
    if (path.size() >= sizeof addr.sun_path) return false;
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ >= 0 && ::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return true;
    const int error = errno;
    drop();
    if (!reported_) {
        reported_ = true;
        std::fprintf(
            stderr,
            "vantrel: the service vantreld at %s cannot be reached (%s)%s; writing to the card directly\n",
            path.c_str(), std::strerror(error),
            error == EACCES ? ", is this user in the group \"vantrel\"?" : "");
    }
    return false;
}

void ServiceLink::drop() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool ServiceLink::exchange(uint32_t interfaceId, unsigned gpu, uint32_t arg, const void* payload,
                           uint32_t length, int32_t& status, void* answer, uint32_t answerLength) {
    vantrel_service::RequestHeader h;
    h.interfaceId = interfaceId;
    h.gpu = gpu;
    h.arg = arg;
    h.length = length;
    if (!sendAll(fd_, &h, sizeof h) || (length > 0 && !sendAll(fd_, payload, length))) return false;
    vantrel_service::Reply r;
    if (!receiveAll(fd_, &r, sizeof r) || r.magic != vantrel_service::kMagic ||
        r.version != vantrel_service::kVersion) {
        // Sent but not answered: the service may or may not have written; never write again here.
        drop();
        status = nvapi::ERROR;
        return true;
    }
    status = r.status;
    if (status == nvapi::OK && answer && !receiveAll(fd_, answer, answerLength)) {
        drop();
        status = nvapi::ERROR;
    }
    return true;
}

bool ServiceLink::call(uint32_t request, unsigned gpu, const void* payload, uint32_t length, void* answer,
                       uint32_t answerLength, int32_t& status) {
    if (disabled_) return false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (fd_ < 0 && !connect()) return false;
        if (exchange(request, gpu, 0, payload, length, status, answer, answerLength)) return true;
        drop();
    }
    status = nvapi::ERROR;
    return true;
}

bool ServiceLink::forward(uint32_t interfaceId, unsigned gpu, uint32_t arg, const void* payload,
                          uint32_t length, int32_t& status) {
    if (disabled_) return false;
    // One retry on a fresh connection: the service may have been restarted since the last write.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (fd_ < 0 && !connect()) return false;
        if (exchange(interfaceId, gpu, arg, payload, length, status)) {
            if (interfaceId == nvapi::ID_GPU_SetCoolerLevels && status == nvapi::OK &&
                static_cast<const nvapi::CoolerLevels*>(payload)->cooler[0].policy ==
                    nvapi::COOLER_POLICY_MANUAL)
                manualFans_ = true;
            return true;
        }
        drop();
    }
    status = nvapi::ERROR;
    return true;
}

void ServiceLink::close() {
    if (fd_ >= 0 && manualFans_) {
        int32_t status = 0;
        exchange(vantrel_service::kHandBack, 0, 0, nullptr, 0, status);
    }
    manualFans_ = false;
    drop();
}

}  // namespace nvml_bridge
