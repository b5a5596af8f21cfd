// The daemon's kept settings: applied at start, stored on a client's request, and the kept fan
// level or curve run whenever no client holds the fans.
#include <sys/socket.h>

#include <cstdio>
#include <cstring>

#include "bridge.h"
#include "copy_text.h"
#include "daemon.h"
#include "kept_apply.h"
#include "signals.h"

namespace vantreld {
namespace {

using namespace nvapi;
using vantrel_service::Reply;
using vantrel_service::RequestHeader;

bool sendReply(int fd, int32_t status, const void* data = nullptr, std::size_t size = 0) {
    unsigned char frame[sizeof(Reply) + sizeof(ServiceStatus)];
    Reply r;
    r.status = status;
    std::memcpy(frame, &r, sizeof r);
    if (data) std::memcpy(frame + sizeof r, data, size);
    const std::size_t length = sizeof r + (data ? size : 0);
    return ::send(fd, frame, length, MSG_NOSIGNAL | MSG_DONTWAIT) == static_cast<ssize_t>(length);
}

// base with the fields set in update taken from it.
KeptSettings merged(KeptSettings base, const KeptSettings& update) {
    const uint32_t f = update.fields;
    if (f & KEPT_GPU_OFFSET) base.gpuOffsetKHz = update.gpuOffsetKHz;
    if (f & KEPT_MEM_OFFSET) base.memOffsetKHz = update.memOffsetKHz;
    if (f & KEPT_POWER) base.power = update.power;
    if (f & KEPT_TEMP_TARGET) base.tempTargetC = update.tempTargetC;
    if (f & KEPT_FAN) {
        base.fanMode = update.fanMode;
        base.fanLevel = update.fanMode == KEPT_FAN_FIXED ? update.fanLevel : 0;
        base.curve = update.fanMode == KEPT_FAN_CURVE ? update.curve : KeptFanCurve{};
    }
    base.fields |= f;
    return base;
}

constexpr auto kNvmlRetry = std::chrono::seconds(10);

}  // namespace

void Daemon::retryNvml() {
    nvml_bridge::Bridge& bridge = nvml_bridge::bridge();
    const auto now = Clock::now();
    if (bridge.initialized() || !keptFile_ || now < nextNvmlTry_ || !keptFile_->exists()) return;
    nextNvmlTry_ = now + kNvmlRetry;
    if (bridge.initialize() != OK) return;
    std::fprintf(stderr, "vantreld: NVML started late; serving %zu GPU(s)\n", bridge.devices().size());
    CrashHandBack::install();
    handBackLastRun();
    applyKept();
}

void Daemon::applyKept() {
    if (!keptFile_ || !nvml_bridge::bridge().initialized()) return;
    const std::vector<KeptGpu> list = keptFile_->read();
    if (list.empty()) return;
    const auto& devices = nvml_bridge::bridge().devices();
    std::vector<int> positions;
    // Everything is checked before anything is written: a file that is wrong anywhere is used nowhere.
    for (const KeptGpu& g : list) {
        int found = -1;
        for (unsigned p = 0; p < devices.size() && p < FanOwners::kMaxPositions && found < 0; ++p)
            if (gpuId(p) == g.id) found = static_cast<int>(p);
        std::string why;
        if (found < 0) {
            keptFile_->setAside("it names " + g.id + ", which is not in this machine");
            return;
        }
        if (!checkKeptOnCard(static_cast<unsigned>(found), g.settings, why)) {
            keptFile_->setAside(g.id + ": " + why);
            return;
        }
        positions.push_back(found);
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        const auto p = static_cast<unsigned>(positions[i]);
        kept_[p].present = true;
        kept_[p].id = list[i].id;
        kept_[p].settings = list[i].settings;
        std::fprintf(stderr, "vantreld: GPU %u (%s): applying the kept settings\n", devices[p].index,
                     list[i].id.c_str());
        applyKeptTuning(p, list[i].settings, "kept");
        resumeKeptFan(p, "at start");
    }
}

bool Daemon::keepsFan(unsigned position) const {
    const Kept& k = kept_[position];
    return k.present && (k.settings.fields & KEPT_FAN) && k.settings.fanMode != KEPT_FAN_DRIVER;
}

bool Daemon::resumeKeptFan(unsigned position, const char* why) {
    Kept& k = kept_[position];
    k.curve.reset();
    if (!keepsFan(position) || owners_.holder(position).connection != 0) return false;
    const unsigned index = nvml_bridge::bridge().devices()[position].index;
    if (k.settings.fanMode == KEPT_FAN_FIXED) {
        const int32_t status = writeFanLevel(position, k.settings.fanLevel);
        std::fprintf(stderr, "vantreld: GPU %u: fans at the kept %u %% (%s)%s\n", index, k.settings.fanLevel,
                     why, status == OK ? "" : ", refused by the driver");
    } else {
        const KeptFanCurve& c = k.settings.curve;
        std::fprintf(
            stderr,
            "vantreld: GPU %u: the kept fan curve runs (%s): every %u ms, hysteresis %u °C, at least "
            "%u ms between changes\n",
            index, why, c.periodMs, c.hysteresisC, c.minChangeMs);
        k.curve = std::make_unique<ServiceCurve>(position, c);
    }
    owners_.setServiceHeld(owners_.serviceHeld() | uint64_t{1} << position);
    return true;
}

void Daemon::stopKeptFan(unsigned position, const char* why) {
    kept_[position].curve.reset();
    const uint64_t bit = uint64_t{1} << position;
    if (!(owners_.serviceHeld() & bit)) return;
    owners_.setServiceHeld(owners_.serviceHeld() & ~bit);
    if (owners_.holder(position).connection != 0) return;  // a client's now
    const int32_t status = giveBackToDriver(position);
    std::fprintf(stderr, "vantreld: GPU %u: fans %s to the driver (%s)\n",
                 nvml_bridge::bridge().devices()[position].index,
                 status == OK ? "given back" : "could not be given back", why);
}

void Daemon::tickCurves() {
    const auto now = Clock::now();
    for (unsigned p = 0; p < FanOwners::kMaxPositions; ++p) {
        ServiceCurve* curve = kept_[p].curve.get();
        if (!curve || owners_.holder(p).connection != 0 || curve->due() > now) continue;
        curve->tick(now);
    }
}

bool Daemon::saveKept() const {
    std::vector<KeptGpu> list;
    for (const Kept& k : kept_)
        if (k.present) list.push_back({k.id, k.settings});
    return keptFile_->write(list);
}

bool Daemon::keep(Connection& c, const RequestHeader& h, const unsigned char* data) {
    KeptSettings update{};
    if (h.length != sizeof update || h.arg != 0) {
        sendReply(c.fd, INVALID_ARGUMENT);
        return false;
    }
    std::memcpy(&update, data, sizeof update);
    const int position = positionOf(h.gpu);
    std::string why;
    int32_t status = OK;
    if (update.version != KEPT_SETTINGS_VER) {
        status = INCOMPATIBLE_STRUCT_VERSION;
    } else if (!nvml_bridge::bridge().initialized()) {
        return sendReply(c.fd, NVIDIA_DEVICE_NOT_FOUND);
    } else if (!keptFile_) {
        return sendReply(c.fd, NOT_SUPPORTED);
    } else if (position < 0 || position >= static_cast<int>(FanOwners::kMaxPositions)) {
        status = INVALID_ARGUMENT;
        why = "no such GPU";
    }
    const auto p = static_cast<unsigned>(position < 0 ? 0 : position);
    Kept& k = kept_[p];
    const std::string id = status == OK ? gpuId(p) : std::string();
    if (status == OK && id.empty()) return sendReply(c.fd, NOT_SUPPORTED);  // nothing to key them by
    KeptSettings next{};
    next.version = KEPT_SETTINGS_VER;
    if (status == OK) {
        next = merged(k.present ? k.settings : next, update);
        if (!checkKeptOnCard(p, next, why)) status = INVALID_ARGUMENT;
    }
    if (status != OK) {
        sendReply(c.fd, status);
        std::fprintf(stderr,
                     "vantreld: refused to keep settings for uid %u pid %d (GPU %u): %s; connection closed\n",
                     c.peer.uid, c.peer.pid, h.gpu, why.empty() ? "malformed" : why.c_str());
        return false;
    }
    const Kept before{k.present, k.id, k.settings, nullptr};
    k.present = true;
    k.id = id;
    k.settings = next;
    if (!saveKept()) {
        k.present = before.present;
        k.id = before.id;
        k.settings = before.settings;
        return sendReply(c.fd, ERROR);
    }
    std::fprintf(stderr, "vantreld: GPU %u (%s): settings kept for uid %u pid %d\n", h.gpu, id.c_str(),
                 c.peer.uid, c.peer.pid);
    char label[64];
    std::snprintf(label, sizeof label, "kept for uid %u pid %d", c.peer.uid, c.peer.pid);
    const bool applied = applyKeptTuning(p, update, label);
    if (update.fields & KEPT_FAN) {
        if (owners_.holder(p).connection != 0)
            std::fprintf(stderr,
                         "vantreld: GPU %u: the kept fan setting waits while uid %u pid %d holds the fans\n",
                         h.gpu, owners_.holder(p).peer.uid, owners_.holder(p).peer.pid);
        else if (!resumeKeptFan(p, label))
            stopKeptFan(p, label);
    }
    return sendReply(c.fd, applied ? OK : ERROR);
}

bool Daemon::reportStatus(Connection& c, const RequestHeader& h) {
    if (h.length != 0 || h.arg != 0) {
        sendReply(c.fd, INVALID_ARGUMENT);
        return false;
    }
    const int position = positionOf(h.gpu);
    if (!nvml_bridge::bridge().initialized()) return sendReply(c.fd, NVIDIA_DEVICE_NOT_FOUND);
    if (position < 0 || position >= static_cast<int>(FanOwners::kMaxPositions))
        return sendReply(c.fd, INVALID_ARGUMENT);
    const auto p = static_cast<unsigned>(position);
    ServiceStatus s{};
    s.version = SERVICE_STATUS_VER;
    const Kept& k = kept_[p];
    if (k.present) s.kept = k.settings;
    s.kept.version = KEPT_SETTINGS_VER;
    nvapi::copyText(s.id, sizeof s.id, (k.present ? k.id : gpuId(p)).c_str());
    const FanOwners::Holder& holder = owners_.holder(p);
    s.curveTemperature = k.curve ? k.curve->lastTemperature() : -1;
    s.curveLevel = k.curve ? k.curve->lastLevel() : -1;
    if (holder.connection != 0) {
        s.fanHolder = SERVICE_FAN_CLIENT;
        s.holderUid = static_cast<int32_t>(holder.peer.uid);
        s.holderPid = holder.peer.pid;
    } else if (owners_.serviceHeld() >> p & 1u) {
        s.fanHolder = SERVICE_FAN_SERVICE;
    }
    return sendReply(c.fd, OK, &s, sizeof s);
}

}  // namespace vantreld
