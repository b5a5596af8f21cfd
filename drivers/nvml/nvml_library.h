// Loads libnvidia-ml at run time and resolves the symbols the bridge uses.
#pragma once

#include <string>

#include "nvml_api.h"

namespace nvml {

struct Functions {
    // Required: without these the bridge cannot start.
    InitFn init = nullptr;
    ShutdownFn shutdown = nullptr;
    ErrorStringFn errorString = nullptr;
    GetCountFn getCount = nullptr;
    GetHandleByIndexFn getHandleByIndex = nullptr;
    // Optional: a missing one makes the interfaces that need it answer "not supported".
    GetTextFn getName = nullptr;
    GetTextFn getVbiosVersion = nullptr;
    GetTextFn getUuid = nullptr;
    GetPciInfoFn getPciInfo = nullptr;
    SystemGetDriverVersionFn getDriverVersion = nullptr;
    GetMemoryInfoFn getMemoryInfo = nullptr;
    GetUintFn getMemoryBusWidth = nullptr;
    GetClockFn getClockInfo = nullptr;
    GetClockFn getMaxClockInfo = nullptr;
    GetClockByIdFn getClock = nullptr;
    GetClockFn getDefaultApplicationsClock = nullptr;
    GetMinMaxClockOfPStateFn getMinMaxClockOfPState = nullptr;
    GetUtilizationFn getUtilizationRates = nullptr;
    GetTemperatureVFn getTemperatureV = nullptr;
    GetTemperatureFn getTemperature = nullptr;
    GetThresholdFn getTemperatureThreshold = nullptr;
    SetThresholdFn setTemperatureThreshold = nullptr;
    GetUintFn getNumFans = nullptr;
    GetFanUintFn getFanSpeed = nullptr;
    GetUintPairFn getMinMaxFanSpeed = nullptr;
    GetFanUintFn getFanControlPolicy = nullptr;
    SetFanSpeedFn setFanSpeed = nullptr;
    SetDefaultFanSpeedFn setDefaultFanSpeed = nullptr;
    GetFanSpeedRpmFn getFanSpeedRpm = nullptr;
    GetUintFn getPowerUsage = nullptr;
    GetUintFn getPowerLimit = nullptr;
    GetUintFn getPowerDefaultLimit = nullptr;
    GetUintPairFn getPowerLimitConstraints = nullptr;
    SetUintFn setPowerLimit = nullptr;
    ClockOffsetsFn getClockOffsets = nullptr;
    ClockOffsetsFn setClockOffsets = nullptr;
    GetIntFn getGpcClkVfOffset = nullptr;
    GetIntFn getMemClkVfOffset = nullptr;
    SetIntFn setGpcClkVfOffset = nullptr;
    SetIntFn setMemClkVfOffset = nullptr;
    GetIntPairFn getGpcClkMinMaxVfOffset = nullptr;
    GetIntPairFn getMemClkMinMaxVfOffset = nullptr;
};

class Library {
  public:
    Library() = default;
    ~Library() { close(); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // Opens libnvidia-ml.so.1 (else libnvidia-ml.so) and resolves every symbol. False when the
    // library or a required symbol is missing; problem() then says which.
    bool open();
    void close();
    bool isOpen() const { return handle_ != nullptr; }
    const Functions& fn() const { return fn_; }
    const std::string& problem() const { return problem_; }

  private:
    void* handle_ = nullptr;
    Functions fn_;
    std::string problem_;
};

}  // namespace nvml
