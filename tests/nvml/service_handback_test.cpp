// vantreld's fans over the fake NVML: one holder per GPU's fans, every signal that ends the
// service hands them back, and a service killed outright hands them back at its next start.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

#include "service_harness.h"

using namespace nvapi;
using std::chrono::milliseconds;

namespace {

constexpr uint32_t kDriverPolicy = 0x20;  // the bridge's "driver decides" cooler policy
const std::string kHandedBack = "SetDefaultFanSpeed dev0 fan1";

int32_t fans(int fd, uint32_t level, uint32_t policy = COOLER_POLICY_MANUAL) {
    CoolerLevels l = fanLevel(level, policy);
    return request(fd, ID_GPU_SetCoolerLevels, &l, sizeof l, 0, COOLER_TARGET_ALL);
}

std::size_t handBacks(const ServiceHarness& service) {
    return countOf(service.setterCalls(), kHandedBack);
}

}  // namespace

TEST(VantreldFans, OnlyTheHolderGivesBackAndTheLastManualWriterHolds) {
    ServiceHarness service;
    ASSERT_TRUE(service.ready()) << service.log();
    const int a = service.connect(), b = service.connect();
    ASSERT_EQ(fans(a, 60), OK);
    // B holds nothing: its hand-back changes nothing, is answered, and B stays connected.
    EXPECT_EQ(fans(b, 30, kDriverPolicy), INVALID_USER_PRIVILEGE);
    EXPECT_EQ(handBacks(service), 0u);
    // A manual write takes the fans over; A's hand-back and A's end then leave them to B.
    ASSERT_EQ(fans(b, 80), OK);
    EXPECT_NE(service.log().find("fans taken over by uid"), std::string::npos) << service.log();
    EXPECT_EQ(request(a, vantrel_service::kHandBack, nullptr, 0), INVALID_USER_PRIVILEGE);
    ::close(a);
    std::this_thread::sleep_for(milliseconds(200));
    EXPECT_EQ(handBacks(service), 0u) << service.setterCalls();
    // The holder's end gives them back, once.
    ::close(b);
    EXPECT_GE(service.waitForCall(kHandedBack, 1000).count(), 0) << service.setterCalls();

    // The holder's own driver-policy write gives back; the former holder's end changes nothing.
    const int c = service.connect(), d = service.connect();
    ASSERT_EQ(fans(c, 50), OK);
    ASSERT_EQ(fans(d, 55), OK);
    EXPECT_EQ(fans(d, 30, kDriverPolicy), OK);
    EXPECT_EQ(request(d, vantrel_service::kHandBack, nullptr, 0), OK);
    ::close(c);
    ::close(d);
    std::this_thread::sleep_for(milliseconds(200));
    EXPECT_EQ(handBacks(service), 2u) << service.setterCalls();
}

// Each signal with a client holding a manual level: the ordinary stop (exit 0) or death by the
// same signal, and the fans handed back either way. SIGPIPE changes nothing.
TEST(VantreldFans, EverySignalThatEndsTheServiceHandsBackFirst) {
    struct Case {
        int signal;
        bool fault;
    };
    const Case cases[] = {{SIGTERM, false}, {SIGINT, false},  {SIGHUP, false},  {SIGQUIT, false},
                          {SIGUSR1, false}, {SIGUSR2, false}, {SIGALRM, false}, {SIGSEGV, true},
                          {SIGBUS, true},   {SIGFPE, true},   {SIGILL, true},   {SIGABRT, true}};
    for (const Case& c : cases) {
        ServiceHarness service;
        ASSERT_TRUE(service.ready()) << service.log();
        const int fd = service.connect();
        ASSERT_EQ(fans(fd, 70), OK);
        const int status = service.stop(c.signal);
        const bool handed = handBacks(service) == 1;
        std::printf("signal %-8s -> %s, fans handed back: %s\n", sigabbrev_np(c.signal),
                    WIFSIGNALED(status) ? sigabbrev_np(WTERMSIG(status)) : "exit", handed ? "yes" : "no");
        EXPECT_TRUE(handed) << sigabbrev_np(c.signal) << "\n" << service.setterCalls() << service.log();
        if (c.fault)
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << sigabbrev_np(c.signal);
        else
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << sigabbrev_np(c.signal);
        ::close(fd);
    }
    ServiceHarness service;
    ASSERT_TRUE(service.ready());
    ::kill(service.pid, SIGPIPE);
    std::this_thread::sleep_for(milliseconds(100));
    EXPECT_TRUE(service.ready()) << "SIGPIPE ended the service";
}

TEST(VantreldFans, AServiceKilledOutrightHandsBackAtItsNextStart) {
    ServiceHarness service;
    ASSERT_TRUE(service.ready());
    const int fd = service.connect();
    ASSERT_EQ(fans(fd, 75), OK);
    service.stop(SIGKILL);
    EXPECT_EQ(handBacks(service), 0u);
    EXPECT_NE(service.read(service.dir + "/vantreld.state").find("\n0\n"), std::string::npos);
    ::close(fd);
    ASSERT_TRUE(service.start()) << service.log();
    EXPECT_GE(service.waitForCall(kHandedBack, 1000).count(), 0) << service.setterCalls();
    EXPECT_NE(service.log().find("held manual when the service last ended"), std::string::npos);
    // Handed back once: a second restart finds nothing left.
    for (int i = 0;
         i < 100 && service.read(service.dir + "/vantreld.state").find("\n0\n") != std::string::npos; ++i)
        std::this_thread::sleep_for(milliseconds(10));
    service.stop(SIGKILL);
    ASSERT_TRUE(service.start());
    std::this_thread::sleep_for(milliseconds(100));
    EXPECT_EQ(handBacks(service), 1u) << service.setterCalls();
}

// A state file the service did not write as it expects: never a crash, never a GPU that is not
// there, only the valid index acted on.
TEST(VantreldFans, AHostileStateFileIsOnlyReadForValidIndices) {
    const std::string header = "vantreld fans held manual\n";
    const std::string cases[] = {
        header + "7\n64\n99\n-1\n00000000000000000001\n18446744073709551617\n1 \n0x0\n",
        std::string("\0\xff\n\n\n", 5) + std::string(3000, '9'),
        std::string(5000, '\n'),  // over the size limit
        header + "0\n0\n0\n",
    };
    for (const std::string& text : cases) {
        ServiceHarness service;
        service.stop(SIGKILL);
        std::FILE* f = std::fopen((service.dir + "/vantreld.state").c_str(), "w");
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
        ASSERT_TRUE(service.start()) << service.log();
        std::this_thread::sleep_for(milliseconds(100));
        EXPECT_EQ(countOf(service.setterCalls(), "SetDefault"), text == cases[3] ? 2u : 0u)
            << service.setterCalls() << service.log();
        EXPECT_TRUE(service.alive());
    }
    // Not a plain file: a link to another file, a named pipe.
    ServiceHarness service;
    service.stop(SIGKILL);
    const std::string state = service.dir + "/vantreld.state";
    ASSERT_EQ(::symlink("/etc/passwd", state.c_str()), 0);
    ASSERT_TRUE(service.start()) << service.log();
    service.stop(SIGKILL);
    ::unlink(state.c_str());
    ASSERT_EQ(::mkfifo(state.c_str(), 0600), 0);
    ASSERT_TRUE(service.start()) << service.log();
    EXPECT_EQ(service.setterCalls(), "");
    EXPECT_EQ(countOf(service.log(), "ignored"), 2u) << service.log();
}
