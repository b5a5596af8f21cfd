// Loads the simulated card with dlopen and resolves its interfaces, as the program does.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "nvapi_contract.h"

namespace simtest {

using namespace nvapi;

class SimLibrary {
  public:
    static SimLibrary& get() {
        static SimLibrary lib;
        return lib;
    }
    void* query(uint32_t id) const { return query_ ? query_(id) : nullptr; }
    void advance(double seconds) const { advance_(seconds); }
    bool loaded() const { return query_ && advance_; }

  private:
    SimLibrary() {
        handle_ = dlopen(SIM_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!handle_) return;
        query_ = reinterpret_cast<NvQueryInterfaceFn>(dlsym(handle_, NVAPI_QUERY_INTERFACE_SYMBOL));
        advance_ = reinterpret_cast<void (*)(double)>(dlsym(handle_, "vantrel_sim_advance"));
    }
    void* handle_ = nullptr;
    NvQueryInterfaceFn query_ = nullptr;
    void (*advance_)(double) = nullptr;
};

template <typename Fn>
Fn fn(uint32_t id) {
    return reinterpret_cast<Fn>(SimLibrary::get().query(id));
}

// Each test starts from an uninitialised library with no card, no trace and running time, and
// leaves it fully unloaded so the next test builds a fresh card.
class SimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SimLibrary::get().loaded()) << dlerror();
        unsetenv("VANTREL_SIM_CARD");
        unsetenv("VANTREL_SIM_FROZEN");
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        base_ = ::testing::TempDir() + "sim_" + info->test_suite_name() + "_" + info->name() + "_" +
                std::to_string(getpid());
        tracePath_ = base_ + ".trace";
        std::remove(tracePath_.c_str());
        setenv("VANTREL_SIM_TRACE", tracePath_.c_str(), 1);
    }

    void TearDown() override {
        auto unload = fn<UnloadFn>(ID_Unload);
        for (int i = 0; i < 100 && unload() == OK; ++i) {
        }
        std::remove(tracePath_.c_str());
        std::remove((base_ + ".xml").c_str());
    }

    // Writes a card description and points the library at it.
    void useCard(const std::string& xml) {
        std::string path = base_ + ".xml";
        std::ofstream(path) << xml;
        setenv("VANTREL_SIM_CARD", path.c_str(), 1);
    }
    void useCardFile(const std::string& name) {
        setenv("VANTREL_SIM_CARD", (std::string(SIM_CARDS_DIR) + "/" + name).c_str(), 1);
    }

    int32_t initialize() { return fn<InitializeFn>(ID_Initialize)(); }

    // Initialises and enumerates; fails the test unless both succeed.
    std::vector<NvPhysicalGpuHandle> start() {
        EXPECT_EQ(initialize(), OK);
        NvPhysicalGpuHandle handles[MAX_PHYSICAL_GPUS] = {};
        int32_t count = 0;
        EXPECT_EQ(fn<EnumPhysicalGPUsFn>(ID_EnumPhysicalGPUs)(handles, &count), OK);
        return {handles, handles + count};
    }
    NvPhysicalGpuHandle startOne() {
        auto gpus = start();
        return gpus.empty() ? nullptr : gpus[0];
    }

    std::vector<std::string> traceLines() const {
        std::ifstream in(tracePath_);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    std::string tracePath_;

  private:
    std::string base_;
};

// Typed reads used across the tests.
inline int32_t readTemperature(NvPhysicalGpuHandle gpu, ThermalSettings& s) {
    s = {};
    s.version = THERMAL_SETTINGS_VER;
    s.count = 3;
    return fn<GetThermalSettingsFn>(ID_GPU_GetThermalSettings)(gpu, 0, &s);
}

inline int32_t readCoolers(NvPhysicalGpuHandle gpu, CoolerSettings& s,
                           uint32_t version = COOLER_SETTINGS_VER3) {
    s = {};
    s.version = version;
    return fn<GetCoolerSettingsFn>(ID_GPU_GetCoolerSettings)(gpu, COOLER_TARGET_ALL, &s);
}

inline int32_t readPstates(NvPhysicalGpuHandle gpu, Pstates20Info& info, uint32_t version = PSTATES20_VER2) {
    info = {};
    info.version = version;
    return fn<GetPstates20Fn>(ID_GPU_GetPstates20)(gpu, &info);
}

inline uint32_t clockKHz(NvPhysicalGpuHandle gpu, uint32_t type, int domain) {
    ClockFrequencies c{};
    c.version = CLOCK_FREQUENCIES_VER;
    c.flags = type;
    EXPECT_EQ(fn<GetAllClockFrequenciesFn>(ID_GPU_GetAllClockFrequencies)(gpu, &c), OK);
    return c.domain[domain].frequency;
}

inline int32_t setFan(NvPhysicalGpuHandle gpu, uint32_t level, uint32_t policy) {
    CoolerLevels l{};
    l.version = COOLER_LEVELS_VER;
    l.cooler[0] = {level, policy};
    return fn<SetCoolerLevelsFn>(ID_GPU_SetCoolerLevels)(gpu, COOLER_TARGET_ALL, &l);
}

}  // namespace simtest
