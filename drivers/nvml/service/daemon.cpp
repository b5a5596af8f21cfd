#include "daemon.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "bridge.h"
#include "interfaces.h"
#include "kept_apply.h"
#include "request_check.h"
#include "state_file.h"

namespace vantreld {
namespace {

using namespace nvapi;
using vantrel_service::Reply;
using vantrel_service::RequestHeader;

// A client that leaves a frame half sent this long is dropped.
constexpr auto kPartialFrameLimit = std::chrono::seconds(2);
// A connection must send its first whole frame this soon; after one it may stay idle for good
// (the program connects when it first writes and then keeps its connection as the watchdog's).
constexpr auto kFirstFrameLimit = std::chrono::seconds(3);

bool sendReply(int fd, int32_t status) {
    Reply r;
    r.status = status;
    // Replies are tiny: one that does not fit at once means the client stopped reading.
    return ::send(fd, &r, sizeof r, MSG_NOSIGNAL | MSG_DONTWAIT) == static_cast<ssize_t>(sizeof r);
}

// What a successful write changed, for the journal.
void describe(char* out, std::size_t size, uint32_t id, const void* payload) {
    switch (id) {
        case ID_GPU_SetPstates20: {
            const auto& p = *static_cast<const Pstates20Info*>(payload);
            int n = std::snprintf(out, size, "clock offsets");
            for (uint32_t c = 0; c < p.numClocks && p.numPstates > 0 && n > 0 && std::size_t(n) < size; ++c)
                n += std::snprintf(out + n, size - std::size_t(n), " domain %u %+d kHz",
                                   p.pstates[0].clocks[c].domainId,
                                   p.pstates[0].clocks[c].freqDelta_kHz.value);
            break;
        }
        case ID_GPU_PowerPoliciesSetStatus: {
            const auto& s = *static_cast<const PowerPolicyStatus*>(payload);
            std::snprintf(out, size, "power limit %u.%03u %%", s.entry[0].power / 1000,
                          s.entry[0].power % 1000);
            break;
        }
        case ID_GPU_ThermalPoliciesSetStatus: {
            const auto& s = *static_cast<const ThermalPolicyStatus*>(payload);
            std::snprintf(out, size, "temperature target %d/256 °C, priority %u", s.entry[0].targetTemp,
                          s.entry[0].flags & 1u);
            break;
        }
        default:
            std::snprintf(out, size, "interface 0x%08X", id);
    }
}

}  // namespace

void Daemon::handBackLastRun() {
    if (!state_) return;
    const std::vector<unsigned> listed = state_->read();
    if (listed.empty()) return;
    if (!nvml_bridge::bridge().initialized()) {
        std::fprintf(stderr,
                     "vantreld: %zu GPU(s) held manual when the service last ended; kept for a start "
                     "with NVML\n",
                     listed.size());
        return;
    }
    for (const unsigned index : listed) {
        const int position = positionOf(index);
        if (position < 0) {
            std::fprintf(stderr, "vantreld: the state file names GPU %u, which is not here; ignored\n",
                         index);
            continue;
        }
        const int32_t status = giveBackToDriver(static_cast<unsigned>(position));
        std::fprintf(stderr,
                     "vantreld: GPU %u: fans %s to the driver (held manual when the service last ended)\n",
                     index, status == OK ? "given back" : "could not be given back");
    }
    state_->write(0);
}

void Daemon::run(int listenFd, int stopFd) {
    listenFd_ = listenFd;
    std::vector<pollfd> fds;
    for (;;) {
        fds.assign({{stopFd, POLLIN, 0}, {listenFd_, POLLIN, 0}});
        for (const auto& c : connections_) fds.push_back({c->fd, POLLIN, 0});
        const int ready = ::poll(fds.data(), fds.size(), pollTimeoutMs());
        if (ready < 0 && errno != EINTR) {
            std::fprintf(stderr, "vantreld: poll failed: %s\n", std::strerror(errno));
            break;
        }
        if (fds[0].revents) break;
        // Clients first, newest connections last, so accepting never starves a waiting request.
        const auto now = Clock::now();
        for (std::size_t i = connections_.size(); i-- > 0;) {
            Connection& c = *connections_[i];
            const short ev = fds[i + 2].revents;
            if (ev & (POLLIN | POLLHUP | POLLERR)) {
                if (!receive(c)) end(i, nullptr);
            } else if (!c.in.empty() && now - c.partialSince > kPartialFrameLimit) {
                end(i, "left a frame half sent");
            } else if (!c.framed && now - c.connectedAt > kFirstFrameLimit) {
                end(i, "sent no request after connecting");
            }
        }
        if (fds[1].revents & POLLIN) accept();
        tickCurves();
        retryNvml();
    }
    stopping_ = true;
    while (!connections_.empty()) {
        Connection& c = *connections_.back();
        handBack(c, owners_.held(c.id), "the service is stopping");
        end(connections_.size() - 1, nullptr);
    }
    for (unsigned position = 0; position < FanOwners::kMaxPositions; ++position)
        stopKeptFan(position, "the service is stopping");
}

int Daemon::pollTimeoutMs() const {
    bool timed = false;
    for (const auto& c : connections_) timed = timed || !c->in.empty() || !c->framed;
    int64_t ms = timed ? 200 : -1;
    const auto now = Clock::now();
    if (!nvml_bridge::bridge().initialized() && keptFile_ && keptFile_->exists()) {
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(nextNvmlTry_ - now).count();
        ms = std::max<int64_t>(wait, 0);
    }
    for (unsigned p = 0; p < FanOwners::kMaxPositions; ++p) {
        if (!kept_[p].curve || owners_.holder(p).connection != 0) continue;
        // Rounded up, so that the tick finds its time come rather than waking just before it.
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(kept_[p].curve->due() - now).count();
        const int64_t due = wait < 0 ? 0 : wait;
        ms = ms < 0 ? due : std::min(ms, due);
    }
    return static_cast<int>(ms);
}

void Daemon::accept() {
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) return;  // EAGAIN: all taken; anything else: the next poll says again
        auto c = std::make_unique<Connection>();
        socklen_t len = sizeof c->peer;
        // Without credentials there is no uid to count it against: not served.
        if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &c->peer, &len) != 0 ||
            !admission_.admit(c->peer.uid)) {
            ::close(fd);
            continue;
        }
        c->fd = fd;
        c->id = nextId_++;
        c->connectedAt = Clock::now();
        connections_.push_back(std::move(c));
    }
}

bool Daemon::receive(Connection& c) {
    unsigned char buf[4096];
    const ssize_t n = ::recv(c.fd, buf, sizeof buf, MSG_DONTWAIT);
    if (n < 0) return errno == EAGAIN || errno == EINTR;
    if (n == 0) return false;  // the client went away
    if (c.in.empty()) c.partialSince = Clock::now();
    c.in.insert(c.in.end(), buf, buf + n);
    std::size_t used = 0;
    while (c.in.size() - used >= sizeof(RequestHeader)) {
        RequestHeader h;
        std::memcpy(&h, c.in.data() + used, sizeof h);
        if (h.magic != vantrel_service::kMagic || h.version != vantrel_service::kVersion || h.reserved != 0 ||
            h.length > vantrel_service::kMaxPayload) {
            sendReply(c.fd, h.magic == vantrel_service::kMagic && h.version != vantrel_service::kVersion
                                ? INCOMPATIBLE_STRUCT_VERSION
                                : INVALID_ARGUMENT);
            std::fprintf(stderr, "vantreld: uid %u pid %d sent a malformed frame; connection closed\n",
                         c.peer.uid, c.peer.pid);
            return false;
        }
        if (c.in.size() - used < sizeof h + h.length) break;
        c.framed = true;
        if (!handle(c, h, c.in.data() + used + sizeof h)) return false;
        used += sizeof h + h.length;
    }
    c.in.erase(c.in.begin(), c.in.begin() + static_cast<std::ptrdiff_t>(used));
    if (used > 0 && !c.in.empty()) c.partialSince = Clock::now();
    return true;
}

bool Daemon::handle(Connection& c, const RequestHeader& h, const unsigned char* data) {
    if (h.interfaceId == vantrel_service::kHandBack) {
        if (h.length != 0 || h.gpu != 0 || h.arg != 0) {
            sendReply(c.fd, INVALID_ARGUMENT);
            return false;
        }
        // Answered INVALID_USER_PRIVILEGE when another connection has since taken over one of
        // this connection's fans: that one stays as its new holder set it.
        const bool all = handBack(c, c.setManual, "asked by the client");
        return sendReply(c.fd, all ? OK : INVALID_USER_PRIVILEGE);
    }
    if (h.interfaceId == vantrel_service::kKeep) return keep(c, h, data);
    if (h.interfaceId == vantrel_service::kStatus) return reportStatus(c, h);
    // The structure, aligned and zero past what was sent.
    alignas(Pstates20Info) unsigned char payload[sizeof(Pstates20Info)] = {};
    uint32_t versionWord = 0;
    if (h.length >= sizeof versionWord) std::memcpy(&versionWord, data, sizeof versionWord);
    const uint32_t expected = vantrel_service::payloadSize(h.interfaceId, versionWord);
    const int position = positionOf(h.gpu);
    Verdict v{OK, true};
    if (!vantrel_service::isServedWrite(h.interfaceId)) {
        v.status = NO_IMPLEMENTATION;
    } else if (expected == 0) {
        v.status = INCOMPATIBLE_STRUCT_VERSION;
    } else if (h.length != expected) {
        v.status = INVALID_ARGUMENT;
    } else if (!nvml_bridge::bridge().initialized()) {
        v = {NVIDIA_DEVICE_NOT_FOUND, false};  // NVML did not start here: not the client's fault
    } else if (position < 0) {
        v.status = INVALID_ARGUMENT;
    } else {
        std::memcpy(payload, data, h.length);
        v = checkWrite(nvml_bridge::Bridge::handleOf(static_cast<unsigned>(position)), h.interfaceId, h.arg,
                       payload);
        if (v.status == OK) v.status = write(c, static_cast<unsigned>(position), h, payload);
    }
    const int32_t status = v.status;
    const bool bad = v.bad;
    if (status != OK && bad) {
        sendReply(c.fd, status);
        std::fprintf(stderr,
                     "vantreld: refused a request of uid %u pid %d (interface 0x%08X, GPU %u): status %d; "
                     "connection closed\n",
                     c.peer.uid, c.peer.pid, h.interfaceId, h.gpu, status);
        return false;
    }
    return sendReply(c.fd, status);
}

int32_t Daemon::write(Connection& c, unsigned position, const RequestHeader& h, void* payload) {
    const NvPhysicalGpuHandle gpu = nvml_bridge::Bridge::handleOf(position);
    const unsigned index = h.gpu;
    char what[160];
    int32_t status = ERROR;
    switch (h.interfaceId) {
        case ID_GPU_SetCoolerLevels:
            return writeCoolers(c, position, h, static_cast<CoolerLevels*>(payload));
        case ID_GPU_SetPstates20:
            status = nvml_bridge::setPstates20(gpu, static_cast<Pstates20Info*>(payload));
            break;
        case ID_GPU_PowerPoliciesSetStatus:
            status = nvml_bridge::powerPoliciesSetStatus(gpu, static_cast<PowerPolicyStatus*>(payload));
            break;
        case ID_GPU_ThermalPoliciesSetStatus:
            status = nvml_bridge::thermalPoliciesSetStatus(gpu, static_cast<ThermalPolicyStatus*>(payload));
            break;
        default:
            return NO_IMPLEMENTATION;
    }
    if (status == OK) {
        describe(what, sizeof what, h.interfaceId, payload);
        std::fprintf(stderr, "vantreld: GPU %u: %s for uid %u pid %d\n", index, what, c.peer.uid, c.peer.pid);
    }
    return status;
}

int32_t Daemon::writeCoolers(Connection& c, unsigned position, const RequestHeader& h, CoolerLevels* levels) {
    const uint64_t bit = uint64_t{1} << position;
    const FanOwners::Holder holder = owners_.holder(position);
    const bool manual = levels->cooler[0].policy == COOLER_POLICY_MANUAL;
    const bool foreign = holder.connection != 0 && holder.connection != c.id;
    if (!manual && foreign) {
        // Only the holder gives a fan back; the fans stay as they are.
        std::fprintf(stderr,
                     "vantreld: GPU %u: uid %u pid %d asked to give back fans held by uid %u pid %d; "
                     "nothing changed\n",
                     h.gpu, c.peer.uid, c.peer.pid, holder.peer.uid, holder.peer.pid);
        return INVALID_USER_PRIVILEGE;
    }
    if (!manual && keepsFan(position)) {
        // The kept level or curve takes the fans instead of the driver; only a kept "auto"
        // (vantrel --set fan=auto --persist) gives them to the driver for good.
        if (holder.connection == 0) {
            std::fprintf(stderr,
                         "vantreld: GPU %u: uid %u pid %d asked to give the fans to the driver while the "
                         "service runs their kept setting; nothing changed\n",
                         h.gpu, c.peer.uid, c.peer.pid);
            return INVALID_USER_PRIVILEGE;
        }
        owners_.release(position);
        c.setManual &= ~bit;
        resumeKeptFan(position, "its client gave the fans back");
        return OK;
    }
    const int32_t status =
        nvml_bridge::setCoolerLevels(nvml_bridge::Bridge::handleOf(position), h.arg, levels);
    if (status != OK) return status;
    if (manual) {
        if (foreign)
            std::fprintf(stderr, "vantreld: GPU %u: fans taken over by uid %u pid %d from uid %u pid %d\n",
                         h.gpu, c.peer.uid, c.peer.pid, holder.peer.uid, holder.peer.pid);
        if (holder.connection == 0 && (owners_.serviceHeld() & bit))
            std::fprintf(stderr,
                         "vantreld: GPU %u: the kept fan setting waits while uid %u pid %d holds the fans\n",
                         h.gpu, c.peer.uid, c.peer.pid);
        // The fan curve writes every tick: only a new level is worth a journal line.
        if (foreign || !(c.setManual & bit) || c.lastLevel[position] != levels->cooler[0].level)
            std::fprintf(stderr, "vantreld: GPU %u: fans at %u %% (manual) for uid %u pid %d\n", h.gpu,
                         levels->cooler[0].level, c.peer.uid, c.peer.pid);
        owners_.take(position, c.id, c.peer);
        c.setManual |= bit;
        c.lastLevel[position] = levels->cooler[0].level;
    } else {
        std::fprintf(stderr, "vantreld: GPU %u: fans given back to the driver for uid %u pid %d\n", h.gpu,
                     c.peer.uid, c.peer.pid);
        owners_.release(position);
        c.setManual &= ~bit;
    }
    return status;
}

bool Daemon::handBack(Connection& c, uint64_t mask, const char* why) {
    bool all = true;
    const auto& devices = nvml_bridge::bridge().devices();
    for (unsigned position = 0; mask != 0 && position < FanOwners::kMaxPositions; ++position) {
        const uint64_t bit = uint64_t{1} << position;
        if (!(mask & bit)) continue;
        mask &= ~bit;
        c.setManual &= ~bit;
        const FanOwners::Holder& holder = owners_.holder(position);
        if (holder.connection != c.id) {
            all = all && holder.connection == 0;
            continue;
        }
        owners_.release(position);
        if (position >= devices.size()) continue;
        if (!stopping_ && resumeKeptFan(position, why)) continue;
        // At the stop this hand-back is the service's too: the fans go back once.
        if (stopping_) owners_.setServiceHeld(owners_.serviceHeld() & ~bit);
        const int32_t status = giveBackToDriver(position);
        std::fprintf(stderr, "vantreld: GPU %u: fans %s to the driver (%s; uid %u pid %d)\n",
                     devices[position].index, status == OK ? "given back" : "could not be given back", why,
                     c.peer.uid, c.peer.pid);
    }
    return all;
}

void Daemon::end(std::size_t index, const char* why) {
    Connection& c = *connections_[index];
    if (why)
        std::fprintf(stderr, "vantreld: uid %u pid %d %s; connection closed\n", c.peer.uid, c.peer.pid, why);
    handBack(c, owners_.held(c.id), "its client went away");
    admission_.release(c.peer.uid);
    ::close(c.fd);
    connections_.erase(connections_.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace vantreld
