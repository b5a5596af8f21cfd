#include <dlfcn.h>
#include <gtest/gtest.h>

#include <memory>

#include "gpu/driver_binding.h"
#include "gpu/gpu_context.h"
#include "gpu/readings.h"

namespace {

// A counter of the test driver, read through the library the binding loaded;
// -1 when the library is not loaded at all.
int driverCounter(const char* name) {
    void* handle = dlopen(TEST_DRIVER_PATH, RTLD_NOW | RTLD_NOLOAD);
    if (!handle) return -1;
    auto counter = reinterpret_cast<int (*)()>(dlsym(handle, name));
    int value = counter ? counter() : -1;
    dlclose(handle);
    return value;
}

class Binding : public ::testing::Test {
  protected:
    void TearDown() override { gpu::DriverBinding::setLibraryPath(""); }
};

TEST_F(Binding, MissingLibraryAnswersMinusTwoForThatCallAndEveryLaterOne) {
    gpu::DriverBinding::setLibraryPath("/nonexistent/libnvapi-missing.so");
    NvPhysicalGpuHandle handles[nvapi::MAX_PHYSICAL_GPUS] = {};
    int32_t count = 7;
    EXPECT_EQ(gpu::nvCall<nvapi::ID_EnumPhysicalGPUs>(handles, &count), nvapi::LIBRARY_NOT_FOUND);
    EXPECT_EQ(count, 7);
    EXPECT_EQ(gpu::DriverBinding::initialize(), nvapi::LIBRARY_NOT_FOUND);
    uint32_t rpm = 0;
    EXPECT_EQ(gpu::nvCall<nvapi::ID_GPU_GetTachReading>(handles[0], &rpm), nvapi::LIBRARY_NOT_FOUND);
    EXPECT_EQ(gpu::DriverBinding::unload(), nvapi::LIBRARY_NOT_FOUND);
    EXPECT_EQ(gpu::nvCall<nvapi::ID_EnumPhysicalGPUs>(handles, &count), nvapi::LIBRARY_NOT_FOUND);

    gpu::GpuContext context;
    EXPECT_TRUE(context.driverMissing());
    EXPECT_EQ(context.count, 0);
    int32_t temperature[3] = {};
    EXPECT_EQ(gpu::readGpuTemperature(temperature), -1);
}

TEST_F(Binding, ALibraryWithoutTheEntryPointCountsAsMissing) {
    gpu::DriverBinding::setLibraryPath("libc.so.6");
    EXPECT_EQ(gpu::DriverBinding::initialize(), nvapi::LIBRARY_NOT_FOUND);
    EXPECT_FALSE(gpu::DriverBinding::isLoaded());
}

TEST_F(Binding, UnknownIdAnswersMinusThreeAndIsAskedForOnce) {
    gpu::DriverBinding::setLibraryPath(TEST_DRIVER_PATH);
    char name[nvapi::SHORT_STRING] = "untouched";
    EXPECT_EQ(gpu::nvCall<nvapi::ID_GPU_GetFullName>(nullptr, name), nvapi::NO_IMPLEMENTATION);
    int queries = driverCounter("test_driver_queries");
    EXPECT_EQ(gpu::nvCall<nvapi::ID_GPU_GetFullName>(nullptr, name), nvapi::NO_IMPLEMENTATION);
    EXPECT_EQ(driverCounter("test_driver_queries"), queries);
    EXPECT_STREQ(name, "untouched");
}

TEST_F(Binding, FirstUseInitialisesOnceAndEachIdIsResolvedOnce) {
    gpu::DriverBinding::setLibraryPath(TEST_DRIVER_PATH);
    EXPECT_EQ(driverCounter("test_driver_queries"), -1);  // nothing loaded before the first call
    uint32_t rpm = 0;
    ASSERT_EQ(gpu::nvCall<nvapi::ID_GPU_GetTachReading>(nullptr, &rpm), nvapi::OK);
    EXPECT_EQ(rpm, 1000u);
    EXPECT_EQ(driverCounter("test_driver_initializes"), 1);
    int afterFirst = driverCounter("test_driver_queries");
    for (int i = 0; i < 5; ++i) gpu::nvCall<nvapi::ID_GPU_GetTachReading>(nullptr, &rpm);
    EXPECT_EQ(driverCounter("test_driver_queries"), afterFirst);

    int32_t out[3] = {};
    EXPECT_EQ(gpu::readGpuTemperature(out), 50);
    int afterTemperature = driverCounter("test_driver_queries");
    EXPECT_EQ(afterTemperature, afterFirst + 2);  // enumeration and thermal settings
    for (int i = 0; i < 5; ++i) gpu::readGpuTemperature(out);
    EXPECT_EQ(driverCounter("test_driver_queries"), afterTemperature);
    EXPECT_EQ(driverCounter("test_driver_initializes"), 1);
}

TEST_F(Binding, UnloadFreesTheLibraryAndTheNextCallLoadsAndResolvesAnew) {
    gpu::DriverBinding::setLibraryPath(TEST_DRIVER_PATH);
    uint32_t rpm = 0;
    ASSERT_EQ(gpu::nvCall<nvapi::ID_GPU_GetTachReading>(nullptr, &rpm), nvapi::OK);
    int queriesBefore = driverCounter("test_driver_queries");
    EXPECT_EQ(gpu::DriverBinding::unload(), nvapi::OK);
    EXPECT_FALSE(gpu::DriverBinding::isLoaded());
    EXPECT_EQ(driverCounter("test_driver_queries"), -1);  // dlclose'd

    rpm = 0;
    ASSERT_EQ(gpu::nvCall<nvapi::ID_GPU_GetTachReading>(nullptr, &rpm), nvapi::OK);
    EXPECT_EQ(rpm, 1000u);
    // A fresh copy of the library: initialised once more, every ID asked for again.
    EXPECT_EQ(driverCounter("test_driver_initializes"), 1);
    EXPECT_EQ(driverCounter("test_driver_queries"), queriesBefore);
}

TEST_F(Binding, ExplicitInitialiseOnALoadedLibraryCallsTheDriverAgain) {
    gpu::DriverBinding::setLibraryPath(TEST_DRIVER_PATH);
    EXPECT_EQ(gpu::DriverBinding::initialize(), nvapi::OK);
    EXPECT_EQ(driverCounter("test_driver_initializes"), 1);
    EXPECT_EQ(gpu::DriverBinding::initialize(), nvapi::OK);
    EXPECT_EQ(driverCounter("test_driver_initializes"), 2);
}

TEST_F(Binding, ContextEnumeratesOnConstructionAndUnloadsOnDestruction) {
    gpu::DriverBinding::setLibraryPath(TEST_DRIVER_PATH);
    {
        gpu::GpuContext context;
        EXPECT_EQ(context.initializeStatus(), nvapi::OK);
        EXPECT_EQ(context.count, 1);
        EXPECT_NE(context.handles[0], nullptr);
        EXPECT_EQ(context.handles[1], nullptr);
        EXPECT_EQ(context.selectedIndex, 0);
        EXPECT_EQ(context.memoryDataRate, 0);
        context.selectedIndex = 99;
        EXPECT_EQ(context.selectedHandle(), nullptr);
    }
    EXPECT_FALSE(gpu::DriverBinding::isLoaded());
}

TEST_F(Binding, OnlyTheLastReleaseUnloadsAndTheDriverHearsNothingBefore) {
    gpu::DriverBinding::setLibraryPath(TEST_DRIVER_PATH);
    auto global = std::make_unique<gpu::GpuContext>();
    {
        gpu::GpuContext panel;
        EXPECT_EQ(panel.count, 1);
        EXPECT_EQ(gpu::DriverBinding::users(), 2);
    }
    // The first context keeps the library, its resolved IDs and the driver's state.
    EXPECT_TRUE(gpu::DriverBinding::isLoaded());
    EXPECT_EQ(driverCounter("test_driver_unloads"), 0);
    EXPECT_EQ(driverCounter("test_driver_initializes"), 2);
    int queries = driverCounter("test_driver_queries");
    int32_t out[3] = {};
    EXPECT_EQ(gpu::readGpuTemperature(out), 50);
    EXPECT_EQ(driverCounter("test_driver_initializes"), 2);
    EXPECT_EQ(driverCounter("test_driver_queries"), queries + 1);  // only the thermal ID was new

    global.reset();
    EXPECT_FALSE(gpu::DriverBinding::isLoaded());
    EXPECT_EQ(gpu::DriverBinding::users(), 0);
    // A stray release after the last one changes nothing and counts nothing.
    EXPECT_EQ(gpu::DriverBinding::unload(), nvapi::OK);
    EXPECT_EQ(gpu::DriverBinding::users(), 0);
}

TEST_F(Binding, GlobalContextIsTheRegisteredOneElseAnEmptyOne) {
    EXPECT_EQ(gpu::globalContext().count, 0);
    gpu::DriverBinding::setLibraryPath(TEST_DRIVER_PATH);
    gpu::GpuContext context;
    {
        gpu::GlobalContextScope scope(context);
        EXPECT_EQ(&gpu::globalContext(), &context);
    }
    EXPECT_NE(&gpu::globalContext(), &context);
}

}  // namespace
