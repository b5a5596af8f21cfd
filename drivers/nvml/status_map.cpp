#include "status_map.h"

#include <cstdio>
#include <cstring>

#include "copy_text.h"
#include "nvapi_contract.h"

namespace nvml_bridge {

int32_t toNvapiStatus(nvmlReturn_t r) {
    switch (r) {
        case nvml::SUCCESS:
            return nvapi::OK;
        case nvml::ERROR_INVALID_ARGUMENT:
            return nvapi::INVALID_ARGUMENT;
        case nvml::ERROR_NOT_SUPPORTED:
        case nvml::ERROR_FUNCTION_NOT_FOUND:
        case nvml::ERROR_ARGUMENT_VERSION_MISMATCH:
        case nvml::ERROR_DEPRECATED:
            return nvapi::NOT_SUPPORTED;
        case nvml::ERROR_NO_PERMISSION:
            return nvapi::INVALID_USER_PRIVILEGE;
        case nvml::ERROR_UNINITIALIZED:
            return nvapi::API_NOT_INITIALIZED;
        case nvml::ERROR_GPU_IS_LOST:
        case nvml::ERROR_GPU_NOT_FOUND:
        case nvml::ERROR_RESET_REQUIRED:
            return nvapi::HANDLE_INVALIDATED;
        default:
            return nvapi::ERROR;
    }
}

StatusRecord::Entry* StatusRecord::find(int32_t status) {
    for (std::size_t i = 0; i < used_; ++i)
        if (entries_[i].status == status) return &entries_[i];
    if (used_ == entries_.size()) return nullptr;
    entries_[used_].status = status;
    return &entries_[used_++];
}

const StatusRecord::Entry* StatusRecord::find(int32_t status) const {
    for (std::size_t i = 0; i < used_; ++i)
        if (entries_[i].status == status) return &entries_[i];
    return nullptr;
}

int32_t StatusRecord::fromNvml(nvmlReturn_t r) {
    const int32_t status = toNvapiStatus(r);
    if (status == nvapi::OK) return status;
    if (Entry* e = find(status)) e->nvml = r;
    if (r == nvml::ERROR_NO_PERMISSION) reportMissingPrivilegeOnce();
    return status;
}

int32_t StatusRecord::own(int32_t status) {
    if (Entry* e = find(status)) e->nvml = kNone;
    return status;
}

void StatusRecord::clear() {
    used_ = 0;
}

static const char* ownText(int32_t status) {
    switch (status) {
        case nvapi::OK:
            return "success";
        case nvapi::ERROR:
            return "error";
        case nvapi::LIBRARY_NOT_FOUND:
            return "libnvidia-ml.so.1 is missing or incomplete";
        case nvapi::NO_IMPLEMENTATION:
            return "no implementation";
        case nvapi::API_NOT_INITIALIZED:
            return "not initialised";
        case nvapi::INVALID_ARGUMENT:
            return "invalid argument";
        case nvapi::NVIDIA_DEVICE_NOT_FOUND:
            return "no NVIDIA GPU found";
        case nvapi::INCOMPATIBLE_STRUCT_VERSION:
            return "structure version not supported";
        case nvapi::HANDLE_INVALIDATED:
            return "the GPU is no longer available";
        case nvapi::EXPECTED_PHYSICAL_GPU_HANDLE:
            return "not a physical GPU handle";
        case nvapi::NOT_SUPPORTED:
            return "not supported by this card or driver";
        case nvapi::INVALID_USER_PRIVILEGE:
            return kPrivilegeText;
        default:
            return "unknown status";
    }
}

void StatusRecord::text(int32_t status, nvml::ErrorStringFn errorString, char* out, std::size_t size) const {
    if (size == 0) return;
    const char* t = nullptr;
    const Entry* e = find(status);
    if (status != nvapi::INVALID_USER_PRIVILEGE && e && e->nvml != kNone && errorString)
        t = errorString(e->nvml);
    if (!t) t = ownText(status);
    nvapi::copyText(out, size, t);
}

bool reportMissingPrivilegeOnce() {
    static bool reported = false;
    if (reported) return false;
    reported = true;
    std::fprintf(stderr,
                 "vantrel: %s; the card's settings were left unchanged. With the service vantreld running, "
                 "members of the group \"vantrel\" can change them without root\n",
                 kPrivilegeText);
    return true;
}

}  // namespace nvml_bridge
