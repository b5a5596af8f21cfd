// Small helpers the interface functions share.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "copy_text.h"
#include "driver.h"

namespace sim {

// Into a short string of the contract.
inline void copyText(char* dst, const std::string& text) {
    nvapi::copyText(dst, nvapi::SHORT_STRING, text);
}

// Copies a filled structure back, only as many bytes as the caller's version word says it holds.
template <typename S>
void copyOut(S* dst, const S& src) {
    std::memcpy(static_cast<void*>(dst), &src, std::min<size_t>(nvapi::versionSize(dst->version), sizeof(S)));
}

// The start of a GPU call that passes a versioned structure: the shared checks, null (-5), version (-9).
template <typename S>
int32_t enterStructCall(uint32_t id, NvPhysicalGpuHandle handle, S* s, SimGpu*& gpu) {
    int index = -1;
    if (int32_t status = enterGpuCall(id, handle, gpu, index)) return status;
    if (!s) return nvapi::INVALID_ARGUMENT;
    return checkVersion(id, index, s->version);
}

}  // namespace sim
