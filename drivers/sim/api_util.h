// Small helpers the interface functions share.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "driver.h"

namespace sim {

// Copies at most SHORT_STRING - 1 bytes and always terminates.
inline void copyText(char* dst, const std::string& text) {
    size_t n = std::min(text.size(), size_t(nvapi::SHORT_STRING - 1));
    std::memcpy(dst, text.data(), n);
    dst[n] = '\0';
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
