// Loads the bridge library and the fake NVML it will use, as the program loads a driver.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fake_nvml.h"
#include "nvapi_contract.h"

class BridgeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fakeLib_ = dlopen("libnvidia-ml.so.1", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(fakeLib_, nullptr) << dlerror();
        auto state = reinterpret_cast<FakeNvmlState* (*)()>(dlsym(fakeLib_, "fakeNvmlState"));
        auto reset = reinterpret_cast<void (*)()>(dlsym(fakeLib_, "fakeNvmlReset"));
        ASSERT_TRUE(state && reset);
        reset();
        fake = state();
        bridgeLib_ = dlopen(NVML_BRIDGE_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(bridgeLib_, nullptr) << dlerror();
        qi = reinterpret_cast<NvQueryInterfaceFn>(dlsym(bridgeLib_, NVAPI_QUERY_INTERFACE_SYMBOL));
        ASSERT_NE(qi, nullptr);
    }
    void TearDown() override {
        if (qi) call<nvapi::UnloadFn>(nvapi::ID_Unload);
        if (bridgeLib_) dlclose(bridgeLib_);
        if (fakeLib_) dlclose(fakeLib_);
    }

    template <typename F, typename... A>
    int32_t call(uint32_t id, A... args) {
        auto f = reinterpret_cast<F>(qi(id));
        EXPECT_NE(f, nullptr) << std::hex << id;
        return f ? f(args...) : -999;
    }

    // Initialises and enumerates; handle(i) is the i-th GPU.
    void start() {
        ASSERT_EQ(call<nvapi::InitializeFn>(nvapi::ID_Initialize), nvapi::OK);
        ASSERT_EQ(call<nvapi::EnumPhysicalGPUsFn>(nvapi::ID_EnumPhysicalGPUs, handles, &count), nvapi::OK);
    }
    NvPhysicalGpuHandle handle(int i = 0) const { return handles[i]; }

    std::string errorText(int32_t status) {
        char text[nvapi::SHORT_STRING] = {};
        call<nvapi::GetErrorMessageFn>(nvapi::ID_GetErrorMessage, status, text);
        return text;
    }
    std::string setterLog() const { return fake->log; }
    void clearLog() { fake->log[0] = '\0'; }

    FakeNvmlState* fake = nullptr;
    NvQueryInterfaceFn qi = nullptr;
    NvPhysicalGpuHandle handles[nvapi::MAX_PHYSICAL_GPUS] = {};
    int32_t count = 0;

  private:
    void* fakeLib_ = nullptr;
    void* bridgeLib_ = nullptr;
};
