// What vantreld keeps, over the fake NVML: a kept curve that runs with no client across a
// restart and holds still around a step, a client that takes the fans over and gives them back
// to the kept curve, and kept files that are wrong in some way.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "service_harness.h"

using namespace nvapi;

namespace {

const std::string kUuid = "GPU-fa4e0000-0000-4000-8000-000000000000";

// 40 % below 60 °C, 70 % from 60 °C, 100 % from 80 °C, checked every 250 ms.
KeptSettings steppedCurve(uint32_t hysteresis) {
    KeptSettings k{};
    k.version = KEPT_SETTINGS_VER;
    k.fields = KEPT_FAN;
    k.fanMode = KEPT_FAN_CURVE;
    const int32_t x[8] = {0, 60, 60, 60, 60, 60, 60, 80}, y[8] = {40, 70, 70, 70, 70, 70, 70, 100};
    for (int i = 0; i < 8; ++i) k.curve.x[i] = x[i], k.curve.y[i] = y[i];
    k.curve.stepped = 1;
    k.curve.periodMs = KEPT_PERIOD_MIN_MS;
    k.curve.hysteresisC = hysteresis;
    return k;
}

int32_t keep(int fd, const KeptSettings& k) {
    return request(fd, vantrel_service::kKeep, &k, sizeof k);
}

// The service's status of GPU 0; version 0 when it gave none.
ServiceStatus statusOf(const ServiceHarness& service) {
    ServiceStatus s{};
    const int fd = service.connect();
    vantrel_service::RequestHeader h;
    h.interfaceId = vantrel_service::kStatus;
    char reply[sizeof(vantrel_service::Reply) + sizeof s] = {};
    std::size_t got = 0;
    if (::send(fd, &h, sizeof h, MSG_NOSIGNAL) == sizeof h)
        while (got < sizeof reply) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 3000) <= 0) break;
            const ssize_t n = ::recv(fd, reply + got, sizeof reply - got, 0);
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
    ::close(fd);
    if (got == sizeof reply) std::memcpy(&s, reply + sizeof(vantrel_service::Reply), sizeof s);
    return s;
}

// Waits until the service's curve has read celsius (so at least one tick saw it).
bool curveRead(const ServiceHarness& service, int32_t celsius) {
    for (int i = 0; i < 1000; ++i) {
        if (statusOf(service).curveTemperature == celsius) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

}  // namespace

TEST(VantreldKept, KeptCurveRunsWithoutClientsAfterARestartAndHoldsAroundAStep) {
    ServiceHarness service;
    service.setTemperature("60");
    ASSERT_TRUE(service.ready()) << service.log();
    const int fd = service.connect();
    ASSERT_EQ(keep(fd, steppedCurve(3)), OK) << service.log();
    ::close(fd);
    ASSERT_GE(service.waitForCall("SetFanSpeed dev0 fan1 70").count(), 0) << service.setterCalls();

    // The boot case: a new start with no client at all.
    ASSERT_EQ(WEXITSTATUS(service.stop()), 0);
    std::remove(service.calls.c_str());
    ASSERT_TRUE(service.start()) << service.log();
    ASSERT_GE(service.waitForCall("SetFanSpeed dev0 fan1 70").count(), 0) << service.log();
    // ±2 °C around the step at 60 °C with a hysteresis of 3: nothing changes.
    for (const char* celsius : {"58", "62", "58", "61", "58"}) {
        service.setTemperature(celsius);
        ASSERT_TRUE(curveRead(service, std::atoi(celsius))) << celsius;
    }
    EXPECT_EQ(countOf(service.setterCalls(), "SetFanSpeed dev0 fan1 "), 1u) << service.setterCalls();
    service.setTemperature("56");
    EXPECT_GE(service.waitForCall("SetFanSpeed dev0 fan1 40").count(), 0) << service.setterCalls();
    // Three failed reads: the driver's until a read succeeds, then the curve again.
    service.setTemperature("fail");
    EXPECT_GE(service.waitForCall("SetDefaultFanSpeed dev0 fan1").count(), 0) << service.setterCalls();
    service.setTemperature("85");
    EXPECT_GE(service.waitForCall("SetFanSpeed dev0 fan1 100").count(), 0) << service.setterCalls();
    const ServiceStatus s = statusOf(service);
    EXPECT_EQ(s.fanHolder, SERVICE_FAN_SERVICE);
    EXPECT_EQ(std::string(s.id), kUuid);
    EXPECT_EQ(s.kept.curve.hysteresisC, 3u);
}

TEST(VantreldKept, AClientTakesTheFansOverAndTheKeptCurveTakesThemBack) {
    ServiceHarness service;
    service.setTemperature("60");
    const int keeper = service.connect();
    ASSERT_EQ(keep(keeper, steppedCurve(0)), OK) << service.log();
    ::close(keeper);
    ASSERT_GE(service.waitForCall("SetFanSpeed dev0 fan1 70").count(), 0);

    const int window = service.connect();
    CoolerLevels manual = fanLevel(45);
    ASSERT_EQ(request(window, ID_GPU_SetCoolerLevels, &manual, sizeof manual, 0, COOLER_TARGET_ALL), OK);
    EXPECT_EQ(statusOf(service).fanHolder, SERVICE_FAN_CLIENT);
    EXPECT_NE(service.log().find("the kept fan setting waits while uid"), std::string::npos) << service.log();
    // Someone else's "auto" does not end the kept curve either.
    const int other = service.connect();
    CoolerLevels driver = fanLevel(0, 0x20);
    EXPECT_EQ(request(other, ID_GPU_SetCoolerLevels, &driver, sizeof driver, 0, COOLER_TARGET_ALL),
              INVALID_USER_PRIVILEGE);
    ::close(other);
    // The window goes away (killed): the kept curve takes the fans at once, never the driver.
    service.setTemperature("85");
    ::close(window);
    EXPECT_GE(service.waitForCall("SetFanSpeed dev0 fan1 100").count(), 0) << service.setterCalls();
    EXPECT_EQ(countOf(service.setterCalls(), "SetDefaultFanSpeed"), 0u) << service.setterCalls();
    EXPECT_EQ(statusOf(service).fanHolder, SERVICE_FAN_SERVICE);
    // The stop gives the service's own fans back.
    EXPECT_EQ(WEXITSTATUS(service.stop()), 0);
    EXPECT_EQ(countOf(service.setterCalls(), "SetDefaultFanSpeed dev0 fan1"), 1u) << service.setterCalls();
}

TEST(VantreldKept, AFaultyKeptFileIsSetAsideAndAValueOutOfRangeIsNeverKept) {
    const std::string good = "vantreld kept settings 1\ngpu " + kUuid + "\npower 90000\n";
    const struct {
        const char* what;
        std::string text;
    } files[] = {
        {"truncated", good.substr(0, good.size() - 3)},
        {"huge", good + std::string(70 * 1024, '#')},
        {"out of the card's range", "vantreld kept settings 1\ngpu " + kUuid + "\npower 999999\n"},
        {"another card",
         "vantreld kept settings 1\ngpu GPU-0bad0000-0000-4000-8000-000000000000\npower 90000\n"},
        {"a curve that is no curve", "vantreld kept settings 1\ngpu " + kUuid + "\nfan curve form=steps\n"},
    };
    for (const auto& f : files) {
        ServiceHarness service;
        service.stop();
        ::mkdir(service.kept().c_str(), 0755);
        std::ofstream(service.kept() + "/vantreld.kept") << f.text;
        std::remove(service.calls.c_str());
        ASSERT_TRUE(service.start()) << f.what << service.log();
        EXPECT_EQ(statusOf(service).kept.fields, 0u) << f.what;
        EXPECT_EQ(service.setterCalls(), "") << f.what;
        struct stat st {};
        EXPECT_EQ(::stat((service.kept() + "/vantreld.kept.bad").c_str(), &st), 0) << f.what;
        EXPECT_NE(service.log().find("not used"), std::string::npos) << f.what << service.log();
    }

    // A request out of range: refused, the connection closed, nothing written or kept.
    ServiceHarness service;
    const int fd = service.connect();
    KeptSettings k{};
    k.version = KEPT_SETTINGS_VER;
    k.fields = KEPT_POWER | KEPT_FAN;
    k.power = 90000;
    k.fanMode = KEPT_FAN_FIXED;
    k.fanLevel = 101;
    EXPECT_EQ(keep(fd, k), INVALID_ARGUMENT);
    EXPECT_TRUE(closedByService(fd));
    ::close(fd);
    struct stat st {};
    EXPECT_NE(::stat((service.kept() + "/vantreld.kept").c_str(), &st), 0);
    EXPECT_EQ(service.setterCalls(), "");
}
