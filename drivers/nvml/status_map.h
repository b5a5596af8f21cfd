// Turning NVML returns into NVAPI statuses, and the texts the error-text interface gives for them.
#pragma once

#include <array>
#include <cstdint>

#include "nvml_api.h"

namespace nvml_bridge {

inline constexpr const char* kPrivilegeText = "changing the card's settings needs root privileges";

int32_t toNvapiStatus(nvmlReturn_t r);

// Remembers, per NVAPI status, the NVML return that last produced it, so the error text can be
// NVML's own. Statuses the bridge produces itself get the bridge's texts.
class StatusRecord {
  public:
    int32_t fromNvml(nvmlReturn_t r);
    int32_t own(int32_t status);
    // Writes a NUL-terminated text of at most size-1 bytes. errorString may be null (library closed).
    void text(int32_t status, nvml::ErrorStringFn errorString, char* out, std::size_t size) const;
    void clear();

  private:
    struct Entry {
        int32_t status = 0;
        nvmlReturn_t nvml = kNone;
    };
    static constexpr nvmlReturn_t kNone = -1;
    Entry* find(int32_t status);
    const Entry* find(int32_t status) const;
    std::array<Entry, 16> entries_{};
    std::size_t used_ = 0;
};

// The one-time stderr line about missing privileges; true when this call wrote it.
bool reportMissingPrivilegeOnce();

}  // namespace nvml_bridge
