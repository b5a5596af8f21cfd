// vantreld as a child process over the fake NVML: what reaches the card, what is refused, and
// the fans handed back however the client ends.
#include <dlfcn.h>
#include <grp.h>
#include <gtest/gtest.h>

#include "bridge_fixture.h"
#include "service_harness.h"

using namespace nvapi;
using std::chrono::milliseconds;

namespace {

constexpr uint32_t kDriverPolicy = 0x20;  // the bridge's "driver decides" cooler policy

// In a child process: the bridge as the program loads it, with its writes refused in-process,
// so that only the service can carry them. Returns the cooler write's status.
int32_t bridgeFanWrite(const std::string& socket, const std::string& ownCalls, uint32_t level,
                       uint32_t policy) {
    ::setenv("VANTREL_SERVICE_SOCKET", socket.c_str(), 1);
    ::setenv("FAKE_NVML_DENY_SETTERS", "1", 1);
    ::setenv("FAKE_NVML_CALLS", ownCalls.c_str(), 1);
    void* lib = dlopen(NVML_BRIDGE_PATH, RTLD_NOW | RTLD_LOCAL);
    auto qi = lib ? reinterpret_cast<NvQueryInterfaceFn>(dlsym(lib, NVAPI_QUERY_INTERFACE_SYMBOL)) : nullptr;
    if (!qi || reinterpret_cast<InitializeFn>(qi(ID_Initialize))() != OK) return 100;
    NvPhysicalGpuHandle handles[MAX_PHYSICAL_GPUS];
    int32_t count = 0;
    reinterpret_cast<EnumPhysicalGPUsFn>(qi(ID_EnumPhysicalGPUs))(handles, &count);
    CoolerLevels l = fanLevel(level, policy);
    return reinterpret_cast<SetCoolerLevelsFn>(qi(ID_GPU_SetCoolerLevels))(handles[0], COOLER_TARGET_ALL, &l);
}

void unloadBridge() {
    void* lib = dlopen(NVML_BRIDGE_PATH, RTLD_NOW | RTLD_NOLOAD);
    auto qi = reinterpret_cast<NvQueryInterfaceFn>(dlsym(lib, NVAPI_QUERY_INTERFACE_SYMBOL));
    reinterpret_cast<UnloadFn>(qi(ID_Unload))();
}

}  // namespace

TEST(Vantreld, WritesInRangeReachTheCardAndBadRequestsOnlyEndTheirOwnConnection) {
    ServiceHarness service;
    ASSERT_TRUE(service.ready()) << service.log();
    const int good = service.connect();
    CoolerLevels fans = fanLevel(55);
    ASSERT_EQ(request(good, ID_GPU_SetCoolerLevels, &fans, sizeof fans, 0, COOLER_TARGET_ALL), OK);
    PowerPolicyStatus power = powerLimit(110000);
    ASSERT_EQ(request(good, ID_GPU_PowerPoliciesSetStatus, &power, sizeof power), OK);
    EXPECT_EQ(service.setterCalls(),
              "SetFanSpeed dev0 fan0 55\nSetFanSpeed dev0 fan1 55\nSetPowerManagementLimit dev0 352000\n");

    struct Bad {
        const char* what;
        uint32_t id;
        std::string payload;
        uint32_t gpu, arg;
        int32_t status;
    };
    auto bytes = [](const auto& s) { return std::string(reinterpret_cast<const char*>(&s), sizeof s); };
    PowerPolicyStatus tooMuch = powerLimit(115626);  // 370 W of 320 W is 115.625 %
    CoolerLevels tooFast = fanLevel(101);
    CoolerLevels oddPolicy = fanLevel(50, 4);
    PowerPolicyStatus oldVersion = powerLimit(100000);
    oldVersion.version = makeVersion(72, 2);
    Pstates20Info offset{};
    offset.version = PSTATES20_VER1;
    offset.numPstates = 1;
    offset.numClocks = 1;
    offset.pstates[0].clocks[0].freqDelta_kHz.value = 1001000;  // 1 MHz above the card's range
    const Bad cases[] = {
        {"power above the maximum", ID_GPU_PowerPoliciesSetStatus, bytes(tooMuch), 0, 0, INVALID_ARGUMENT},
        {"fan level above 100", ID_GPU_SetCoolerLevels, bytes(tooFast), 0, COOLER_TARGET_ALL,
         INVALID_ARGUMENT},
        {"unknown cooler policy", ID_GPU_SetCoolerLevels, bytes(oddPolicy), 0, COOLER_TARGET_ALL,
         INVALID_ARGUMENT},
        {"one cooler only", ID_GPU_SetCoolerLevels, bytes(fans), 0, 1, INVALID_ARGUMENT},
        {"GPU out of range", ID_GPU_PowerPoliciesSetStatus, bytes(power), 3, 0, INVALID_ARGUMENT},
        {"structure version", ID_GPU_PowerPoliciesSetStatus, bytes(oldVersion), 0, 0,
         INCOMPATIBLE_STRUCT_VERSION},
        {"short structure", ID_GPU_PowerPoliciesSetStatus, bytes(power).substr(0, 40), 0, 0,
         INVALID_ARGUMENT},
        {"a read interface", ID_GPU_GetCoolerSettings, bytes(fans), 0, COOLER_TARGET_ALL, NO_IMPLEMENTATION},
        {"clock offset out of range", ID_GPU_SetPstates20, bytes(offset).substr(0, 7316), 0, 0,
         INVALID_ARGUMENT},
    };
    for (const Bad& c : cases) {
        const int fd = service.connect();
        EXPECT_EQ(request(fd, c.id, c.payload.data(), uint32_t(c.payload.size()), c.gpu, c.arg), c.status)
            << c.what;
        EXPECT_TRUE(closedByService(fd)) << c.what;
        ::close(fd);
    }
    // Framing: another protocol version, and a length over the limit, answered before any payload.
    for (const auto& [version, length, status] :
         {std::tuple{uint16_t{2}, 0u, INCOMPATIBLE_STRUCT_VERSION},
          std::tuple{vantrel_service::kVersion, vantrel_service::kMaxPayload + 1, INVALID_ARGUMENT}}) {
        const int fd = service.connect();
        vantrel_service::RequestHeader h;
        h.version = version;
        h.interfaceId = ID_GPU_SetCoolerLevels;
        h.length = length;
        ASSERT_EQ(::send(fd, &h, sizeof h, 0), ssize_t(sizeof h));
        vantrel_service::Reply r;
        ASSERT_EQ(::recv(fd, &r, sizeof r, MSG_WAITALL), ssize_t(sizeof r));
        EXPECT_EQ(r.status, status);
        EXPECT_TRUE(closedByService(fd));
        ::close(fd);
    }
    // Nothing more reached the card, and the first client is still served.
    fans = fanLevel(60);
    EXPECT_EQ(request(good, ID_GPU_SetCoolerLevels, &fans, sizeof fans, 0, COOLER_TARGET_ALL), OK);
    EXPECT_EQ(countOf(service.setterCalls(), "\n"), 5u) << service.setterCalls();
    EXPECT_NE(service.log().find("fans at 55 % (manual) for uid"), std::string::npos) << service.log();
    ::close(good);
}

TEST(Vantreld, FansGoBackOnceWhenTheClientCloses) {
    ServiceHarness service;
    ASSERT_TRUE(service.ready());
    // Closed without a word: the watchdog gives the fans back.
    int fd = service.connect();
    CoolerLevels fans = fanLevel(70);
    ASSERT_EQ(request(fd, ID_GPU_SetCoolerLevels, &fans, sizeof fans, 0, COOLER_TARGET_ALL), OK);
    ::close(fd);
    EXPECT_GE(service.waitForCall("SetDefaultFanSpeed dev0 fan1", 1000).count(), 0) << service.setterCalls();

    // Given back by request: closing afterwards gives nothing back twice.
    fd = service.connect();
    ASSERT_EQ(request(fd, ID_GPU_SetCoolerLevels, &fans, sizeof fans, 0, COOLER_TARGET_ALL), OK);
    ASSERT_EQ(request(fd, vantrel_service::kHandBack, nullptr, 0), OK);
    ::close(fd);
    std::this_thread::sleep_for(milliseconds(200));
    EXPECT_EQ(countOf(service.setterCalls(), "SetDefaultFanSpeed dev0 fan0"), 2u) << service.setterCalls();

    // Stopping the service gives back what a connected client still holds.
    fd = service.connect();
    ASSERT_EQ(request(fd, ID_GPU_SetCoolerLevels, &fans, sizeof fans, 0, COOLER_TARGET_ALL), OK);
    EXPECT_EQ(service.stop(), 0);
    EXPECT_EQ(countOf(service.setterCalls(), "SetDefaultFanSpeed dev0 fan0"), 3u) << service.setterCalls();
    ::close(fd);
}

// The program's process (the bridge with in-process writes refused) reaches the card only through
// the service; killed, its fans are back with the driver within a second; closed cleanly, once.
TEST(Vantreld, KilledProgramsFansGoBackWithinASecond) {
    ServiceHarness service;
    ASSERT_TRUE(service.ready());
    const std::string ownCalls = service.dir + "/program-calls.txt";
    int done[2];
    ASSERT_EQ(::pipe(done), 0);
    const pid_t program = ::fork();
    if (program == 0) {
        const int32_t s = bridgeFanWrite(service.socket, ownCalls, 65, COOLER_POLICY_MANUAL);
        (void)!::write(done[1], &s, sizeof s);
        for (;;) ::pause();
    }
    int32_t status = 1;
    ASSERT_EQ(::read(done[0], &status, sizeof status), ssize_t(sizeof status));
    EXPECT_EQ(status, OK);
    EXPECT_NE(service.setterCalls().find("SetFanSpeed dev0 fan0 65"), std::string::npos);
    // Idle past the service's first-frame limit: the program's connection is still its watchdog.
    std::this_thread::sleep_for(milliseconds(3500));
    EXPECT_EQ(countOf(service.setterCalls(), "SetDefaultFanSpeed"), 0u) << service.log();
    ::kill(program, SIGKILL);
    ::waitpid(program, nullptr, 0);
    const milliseconds handBack = service.waitForCall("SetDefaultFanSpeed dev0 fan1", 1000);
    EXPECT_GE(handBack.count(), 0) << "not handed back within 1 s: " << service.setterCalls();
    std::printf("fans handed back %lld ms after kill -9\n", static_cast<long long>(handBack.count()));
    EXPECT_EQ(service.read(ownCalls), "");  // nothing was tried in the program's own process
    ::close(done[0]);
    ::close(done[1]);
}

TEST(Vantreld, CleanCloseOfTheProgramHandsBackOnce) {
    ServiceHarness service;
    ASSERT_TRUE(service.ready());
    const pid_t program = ::fork();
    if (program == 0) {
        const std::string own = service.dir + "/program-calls.txt";
        int32_t s = bridgeFanWrite(service.socket, own, 45, COOLER_POLICY_MANUAL);
        // The close routine: the default policy, then the driver is unloaded.
        CoolerLevels back = fanLevel(30, kDriverPolicy);
        void* lib = dlopen(NVML_BRIDGE_PATH, RTLD_NOW | RTLD_NOLOAD);
        auto qi = reinterpret_cast<NvQueryInterfaceFn>(dlsym(lib, NVAPI_QUERY_INTERFACE_SYMBOL));
        NvPhysicalGpuHandle handles[MAX_PHYSICAL_GPUS];
        int32_t count = 0;
        reinterpret_cast<EnumPhysicalGPUsFn>(qi(ID_EnumPhysicalGPUs))(handles, &count);
        if (s == OK)
            s = reinterpret_cast<SetCoolerLevelsFn>(qi(ID_GPU_SetCoolerLevels))(handles[0], 7, &back);
        unloadBridge();
        ::_exit(s == OK ? 0 : 1);
    }
    int status = -1;
    ::waitpid(program, &status, 0);
    EXPECT_EQ(status, 0);
    std::this_thread::sleep_for(milliseconds(200));
    EXPECT_EQ(service.setterCalls(),
              "SetFanSpeed dev0 fan0 45\nSetFanSpeed dev0 fan1 45\nSetDefaultFanSpeed dev0 fan0\n"
              "SetDefaultFanSpeed dev0 fan1\n");
}

// The socket is the group's: a user outside it cannot even connect.
TEST(Vantreld, AUserOutsideTheSocketsGroupCannotConnect) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to run a client as nobody";
    ServiceHarness service("root");
    ASSERT_TRUE(service.ready());
    auto connectsAs = [&](bool inGroup) {
        const pid_t child = ::fork();
        if (child == 0) {
            const gid_t groups[] = {0};
            if (::setgroups(inGroup ? 1 : 0, groups) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(2);
            const int fd = service.connect();
            ::_exit(fd >= 0 ? 0 : errno == EACCES ? 1 : 3);
        }
        int status = -1;
        ::waitpid(child, &status, 0);
        return WEXITSTATUS(status);
    };
    EXPECT_EQ(connectsAs(false), 1);  // EACCES
    EXPECT_EQ(connectsAs(true), 0);
}

// A socket file nobody answers: the bridge says so once and writes in-process as before.
TEST_F(BridgeTest, AnUnansweredServiceSocketLeavesWritesInProcess) {
    char tmpl[] = "/tmp/vantrel-stale-XXXXXX";
    const std::string dir = ::mkdtemp(tmpl);
    const std::string path = dir + "/vantreld.sock";
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);  // bound, never listening
    ::setenv("VANTREL_SERVICE_SOCKET", path.c_str(), 1);
    start();
    testing::internal::CaptureStderr();
    CoolerLevels l = fanLevel(50);
    EXPECT_EQ(call<SetCoolerLevelsFn>(ID_GPU_SetCoolerLevels, handle(), COOLER_TARGET_ALL, &l), OK);
    EXPECT_EQ(call<SetCoolerLevelsFn>(ID_GPU_SetCoolerLevels, handle(), COOLER_TARGET_ALL, &l), OK);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(countOf(err, "cannot be reached"), 1u) << err;
    EXPECT_EQ(setterLog(),
              "SetFanSpeed dev0 fan0 50\nSetFanSpeed dev0 fan1 50\n"
              "SetFanSpeed dev0 fan0 50\nSetFanSpeed dev0 fan1 50\n");
    ::unsetenv("VANTREL_SERVICE_SOCKET");
    ::close(fd);
    std::system(("rm -rf '" + dir + "'").c_str());
}
