// vantreld under a stream of random and mutated frames, 100 connections at once from 13 users
// (one of them trying 100 on its own) and clients that stall half way through a frame, while a
// well-behaved client keeps writing. The service must
// stay up, keep answering that client and never pass an out-of-range value to the card.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <random>
#include <thread>
#include <vector>

#include "service_harness.h"

using namespace nvapi;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kFrames = 10000;
constexpr int kHeldConnections = 100;
constexpr uid_t kFirstHolder = 60000;  // uids of the held connections, 8 each

struct Rng {
    std::mt19937 engine;
    uint32_t operator()() { return static_cast<uint32_t>(engine()); }
};

uint32_t pick(Rng& rng, std::initializer_list<uint32_t> values) {
    return *(values.begin() + rng() % values.size());
}

int32_t near(Rng& rng, int32_t lo, int32_t hi) {
    const int32_t span = hi - lo;
    return lo - span / 4 + static_cast<int32_t>(rng() % static_cast<uint32_t>(span + span / 2 + 1));
}

// A write of a known interface with values around (and past) the card's ranges.
std::string structureFor(Rng& rng, uint32_t id) {
    auto bytes = [](const auto& s, std::size_t n = sizeof(s)) {
        return std::string(reinterpret_cast<const char*>(&s), n);
    };
    switch (id) {
        case ID_GPU_SetCoolerLevels: {
            CoolerLevels l{};
            l.version = COOLER_LEVELS_VER;
            l.cooler[0] = {rng() % 140, pick(rng, {COOLER_POLICY_MANUAL, 0x20, 0, rng()})};
            if (rng() % 8 == 0) l.cooler[rng() % 20].level = rng();
            return bytes(l);
        }
        case ID_GPU_PowerPoliciesSetStatus: {
            PowerPolicyStatus s{};
            s.version = POWER_POLICY_STATUS_VER;
            s.count = rng() % 6;
            for (auto& e : s.entry) e = {rng() % 3, 0, uint32_t(near(rng, 31250, 115625)), 0};
            return bytes(s);
        }
        case ID_GPU_ThermalPoliciesSetStatus: {
            ThermalPolicyStatus s{};
            s.version = THERMAL_POLICY_STATUS_VER;
            s.count = uint8_t(rng() % 6);
            for (auto& e : s.entry) e = {rng() % 3, near(rng, 65 * 256, 91 * 256), rng() % 3};
            return bytes(s);
        }
        default: {
            Pstates20Info p{};
            p.version = rng() % 2 ? PSTATES20_VER2 : PSTATES20_VER1;
            p.numPstates = rng() % 18;
            p.numClocks = rng() % 10;
            p.numBaseVoltages = rng() % 3 == 0 ? rng() % 6 : 0;
            p.overVoltage.numVoltages = rng() % 4 == 0 ? rng() % 6 : 0;
            for (auto& ps : p.pstates) {
                ps.pstateId = rng() % 4 == 0 ? rng() % 3 : 0;
                for (auto& c : ps.clocks) {
                    c.domainId = pick(rng, {0, 4, 7, rng()});
                    c.freqDelta_kHz.value =
                        c.domainId == 4 ? near(rng, -1000000, 1500000) : near(rng, -500000, 1000000);
                }
                for (auto& v : ps.baseVoltages)
                    v.voltDelta_uV.value = rng() % 2 ? 0 : near(rng, -100000, 100000);
            }
            return bytes(p, versionSize(p.version));
        }
    }
}

// One frame: mostly well formed with mutated values, some with broken framing or plain noise.
std::string makeFrame(Rng& rng) {
    vantrel_service::RequestHeader h;
    h.interfaceId =
        pick(rng, {ID_GPU_SetCoolerLevels, ID_GPU_PowerPoliciesSetStatus, ID_GPU_ThermalPoliciesSetStatus,
                   ID_GPU_SetPstates20, vantrel_service::kHandBack});
    h.arg = h.interfaceId == ID_GPU_SetCoolerLevels ? COOLER_TARGET_ALL : 0;
    h.gpu = rng() % 10 == 0 ? rng() % 70 : 0;
    std::string payload =
        h.interfaceId == vantrel_service::kHandBack ? std::string() : structureFor(rng, h.interfaceId);
    switch (rng() % 10) {
        case 0:  // bytes flipped anywhere in the structure
            for (int i = 0, n = 1 + int(rng() % 8); i < n && !payload.empty(); ++i)
                payload[rng() % payload.size()] = char(rng());
            break;
        case 1:  // a header field broken
            switch (rng() % 6) {
                case 0:
                    h.magic = rng();
                    break;
                case 1:
                    h.version = uint16_t(rng());
                    break;
                case 2:
                    h.reserved = uint16_t(1 + rng() % 100);
                    break;
                case 3:
                    h.interfaceId = rng();
                    break;
                case 4:
                    h.arg = rng();
                    break;
                default:
                    h.length = vantrel_service::kMaxPayload + 1 + rng() % 100000;
                    break;
            }
            break;
        case 2:  // structure cut short or padded
            payload.resize(rng() % (payload.size() + 64));
            break;
        case 3: {  // noise
            std::string noise(sizeof h + rng() % 300, '\0');
            for (char& c : noise) c = char(rng());
            return noise;
        }
        default:
            break;
    }
    if (h.length <= vantrel_service::kMaxPayload)
        h.length = uint32_t(payload.size());
    else
        payload.clear();
    return std::string(reinterpret_cast<const char*>(&h), sizeof h) + payload;
}

// Out-of-range values in the fake's record of setter calls (the fake card's ranges).
int outOfRange(const std::string& calls) {
    int bad = 0;
    std::istringstream lines(calls);
    for (std::string line; std::getline(lines, line);) {
        long a = 0, b = 0, c = 0;
        if (std::sscanf(line.c_str(), "SetFanSpeed dev%ld fan%ld %ld", &a, &b, &c) == 3)
            bad += a != 0 || c < 30 || c > 100;
        else if (std::sscanf(line.c_str(), "SetPowerManagementLimit dev%ld %ld", &a, &b) == 2)
            bad += b < 100000 || b > 370000;
        else if (std::sscanf(line.c_str(), "SetTemperatureThreshold dev%ld %ld %ld", &a, &b, &c) == 3)
            bad += b != 5 || c < 65 || c > 91;
        else if (std::sscanf(line.c_str(), "SetClockOffsets dev%ld type%ld %ld", &a, &b, &c) == 3)
            bad += b == 0 ? (c < -500 || c > 1000) : b == 2 ? (c < -2000 || c > 3000) : 1;
        else
            bad += line.rfind("SetDefaultFanSpeed dev0 fan", 0) != 0;
    }
    return bad;
}

// Holds up to count connections in a child process as uid (every fifth then sends half a frame) until
// release[1] is closed; with no root the test's own uid holds a few. How many it holds.
int holdConnections(const ServiceHarness& service, uid_t uid, int count, const int release[2], Rng& rng,
                    std::vector<pid_t>& holders) {
    int ready[2];
    if (::pipe(ready) != 0) return 0;
    const uint32_t seed = rng();
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(release[1]);
        if (::geteuid() == 0) {
            const gid_t groups[] = {0};
            if (::setgroups(1, groups) != 0 || ::setgid(uid) != 0 || ::setuid(uid) != 0) ::_exit(1);
        }
        Rng own{std::mt19937(seed)};
        // A served connection answers its first frame (a hand-back of nothing); one beyond the
        // limits was closed unanswered.
        int open = 0;
        std::vector<int> fds;
        for (int i = 0; i < count; ++i) {
            const int fd = service.connect();
            if (fd < 0) continue;
            if (request(fd, vantrel_service::kHandBack, nullptr, 0) != OK) {
                ::close(fd);
                continue;
            }
            ++open;
            if (i % 5 == 0) {
                const std::string frame = makeFrame(own);
                ::send(fd, frame.data(), 1 + own() % (frame.size() - 1), MSG_NOSIGNAL);
            }
            fds.push_back(fd);
        }
        (void)!::write(ready[1], &open, sizeof open);
        char c;
        (void)!::read(release[0], &c, 1);
        ::_exit(0);
    }
    ::close(ready[1]);
    holders.push_back(child);
    int open = 0;
    if (::read(ready[0], &open, sizeof open) != sizeof open) open = 0;
    ::close(ready[0]);
    return open;
}

}  // namespace

TEST(VantreldFuzz, StaysUpAndInRangeUnderBadFramesWhileServingAGoodClient) {
    ServiceHarness service;
    ASSERT_TRUE(service.ready()) << service.log();

    // 100 connections held by 13 users, 8 each (as many as one may have); a 14th user tries 100
    // and keeps 8. Every fifth sends half a frame and stalls.
    Rng rng{std::mt19937(20261209)};
    int release[2];
    ASSERT_EQ(::pipe(release), 0);
    const bool root = ::geteuid() == 0;
    int heldOpen = 0, tried = 0;
    std::vector<pid_t> holders;
    const int perUid = int(root ? 8 : 4);
    for (int uid = 0; uid * perUid < (root ? kHeldConnections : perUid); ++uid) {
        const int count = std::min(perUid, kHeldConnections - uid * perUid);
        heldOpen += holdConnections(service, kFirstHolder + uid, count, release, rng, holders);
        tried += count;
    }
    int greedyOpen = 0;
    if (root) {
        greedyOpen = holdConnections(service, kFirstHolder + 100, kHeldConnections, release, rng, holders);
        tried += kHeldConnections;
    }
    ::close(release[0]);

    std::atomic<bool> done{false};
    std::vector<double> latencyUs;
    int goodFailures = 0;
    std::thread good([&] {
        int fd = service.connect();
        for (uint32_t n = 0; !done; ++n) {
            CoolerLevels l = fanLevel(30 + n % 71);
            const auto start = Clock::now();
            const int32_t s = request(fd, ID_GPU_SetCoolerLevels, &l, sizeof l, 0, COOLER_TARGET_ALL);
            latencyUs.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
            if (s != OK) {
                ++goodFailures;
                ::close(fd);
                fd = service.connect();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ::close(fd);
    });

    int connections = tried + 1, halfFrames = tried / 5, unanswered = 0;
    int fd = service.connect();
    auto reconnect = [&] {
        ::close(fd);
        fd = service.connect();
        ++connections;
    };
    // Every whole frame gets one reply; a connection the service closed after its last reply
    // is only found on the next send, which then goes again on a fresh one.
    auto answered = [&](const std::string& frame) {
        if (::send(fd, frame.data(), frame.size(), MSG_NOSIGNAL) != ssize_t(frame.size())) return false;
        char reply[sizeof(vantrel_service::Reply)];
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, 2000) == 1 &&
               ::recv(fd, reply, sizeof reply, MSG_WAITALL) == ssize_t(sizeof reply);
    };
    for (int frames = 0; frames < kFrames; ++frames) {
        const std::string frame = makeFrame(rng);
        if (rng() % 50 == 0) {  // half a frame, then the client is gone
            ::send(fd, frame.data(), 1 + rng() % (frame.size() - 1), MSG_NOSIGNAL);
            ++halfFrames;
            reconnect();
        } else if (!answered(frame)) {
            reconnect();
            if (!answered(frame)) ++unanswered;
        }
        ASSERT_GE(fd, 0) << "the service stopped accepting after " << frames << " frames";
    }
    ::close(fd);
    done = true;
    good.join();
    ::close(release[1]);
    for (pid_t h : holders) ::waitpid(h, nullptr, 0);

    std::sort(latencyUs.begin(), latencyUs.end());
    const int bad = outOfRange(service.setterCalls());
    const bool alive = service.alive();
    const std::size_t reports = countOf(service.log(), "runtime error") + countOf(service.log(), "Sanitizer");
    std::printf(
        "fuzz: %d frames, %d connections (%d held at once; a user trying 100 kept %d), %d half frames, "
        "%zu setter calls, %d crashes, %zu sanitizer reports, %d out-of-range writes\n",
        kFrames, connections, heldOpen + greedyOpen + 2, greedyOpen, halfFrames,
        countOf(service.setterCalls(), "\n"), alive ? 0 : 1, reports, bad);
    ASSERT_FALSE(latencyUs.empty());
    std::printf("well-behaved client: %zu writes, %d failed, latency median %.0f us, p99 %.0f us\n",
                latencyUs.size(), goodFailures, latencyUs[latencyUs.size() / 2],
                latencyUs[latencyUs.size() * 99 / 100]);
    EXPECT_TRUE(alive) << service.log();
    EXPECT_EQ(heldOpen, root ? kHeldConnections : perUid);
    if (root) {
        EXPECT_EQ(greedyOpen, 8);
    }
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(reports, 0u) << service.log();
    EXPECT_EQ(goodFailures, 0);
    EXPECT_EQ(unanswered, 0);
    EXPECT_EQ(service.stop(), 0);
}
