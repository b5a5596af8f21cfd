// The service's check of a write request, made in full against what the card reports before
// anything is written.
#pragma once

#include <cstdint>

#include "nvapi_contract.h"

namespace vantreld {

struct Verdict {
    int32_t status = nvapi::OK;
    // The request itself is malformed or out of the card's ranges: answered, then the
    // connection ends. Otherwise (a read failed, the card lacks what is asked) only answered.
    bool bad = false;
};

// payload holds the interface's structure, its size already matched to its version word.
Verdict checkWrite(NvPhysicalGpuHandle gpu, uint32_t interfaceId, uint32_t arg, const void* payload);

}  // namespace vantreld
