// Initialise answers -2 when libnvidia-ml.so.1 is absent or lacks a required symbol.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "nvapi_contract.h"

TEST(NvmlBridgeStart, InitialiseAnswersLibraryNotFound) {
    if (!HAVE_FAKE) {
        if (void* real = dlopen("libnvidia-ml.so.1", RTLD_NOW)) {
            dlclose(real);
            GTEST_SKIP() << "a real libnvidia-ml.so.1 is installed";
        }
    }
    void* lib = dlopen(NVML_BRIDGE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    auto qi = reinterpret_cast<NvQueryInterfaceFn>(dlsym(lib, NVAPI_QUERY_INTERFACE_SYMBOL));
    ASSERT_NE(qi, nullptr);
    auto init = reinterpret_cast<nvapi::InitializeFn>(qi(nvapi::ID_Initialize));
    testing::internal::CaptureStderr();
    EXPECT_EQ(init(), nvapi::LIBRARY_NOT_FOUND);
    EXPECT_EQ(init(), nvapi::LIBRARY_NOT_FOUND);  // and again on every later try
    const std::string err = testing::internal::GetCapturedStderr();
    if (HAVE_FAKE) {
        EXPECT_NE(err.find("nvmlDeviceGetCount_v2"), std::string::npos) << err;
    }
    auto enumerate = reinterpret_cast<nvapi::EnumPhysicalGPUsFn>(qi(nvapi::ID_EnumPhysicalGPUs));
    NvPhysicalGpuHandle handles[nvapi::MAX_PHYSICAL_GPUS] = {};
    int32_t count = 0;
    EXPECT_EQ(enumerate(handles, &count), nvapi::API_NOT_INITIALIZED);
    char text[nvapi::SHORT_STRING];
    auto errorText = reinterpret_cast<nvapi::GetErrorMessageFn>(qi(nvapi::ID_GetErrorMessage));
    EXPECT_EQ(errorText(nvapi::LIBRARY_NOT_FOUND, text), nvapi::OK);
    EXPECT_STREQ(text, "libnvidia-ml.so.1 is missing or incomplete");
    dlclose(lib);
}
