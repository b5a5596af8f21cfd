#include "driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "card_loader.h"
#include "interfaces.h"

namespace sim {

using namespace nvapi;

namespace {

std::unique_ptr<Driver> g_driver;
int g_references = 0;
// Why the last initialise failed; kept as plain storage so nothing here is constructed at load time.
char g_failure[256];

constexpr uintptr_t kHandleBase = 0x5E100000;
constexpr uintptr_t kHandleStride = 0x100;

const char* defaultErrorText(int32_t status) {
    switch (status) {
        case OK:
            return "NVAPI_OK";
        case ERROR:
            return "NVAPI_ERROR";
        case LIBRARY_NOT_FOUND:
            return "NVAPI_LIBRARY_NOT_FOUND";
        case NO_IMPLEMENTATION:
            return "NVAPI_NO_IMPLEMENTATION";
        case API_NOT_INITIALIZED:
            return "NVAPI_API_NOT_INITIALIZED";
        case INVALID_ARGUMENT:
            return "NVAPI_INVALID_ARGUMENT";
        case NVIDIA_DEVICE_NOT_FOUND:
            return "NVAPI_NVIDIA_DEVICE_NOT_FOUND";
        case INCOMPATIBLE_STRUCT_VERSION:
            return "NVAPI_INCOMPATIBLE_STRUCT_VERSION";
        case HANDLE_INVALIDATED:
            return "NVAPI_HANDLE_INVALIDATED";
        case EXPECTED_PHYSICAL_GPU_HANDLE:
            return "NVAPI_EXPECTED_PHYSICAL_GPU_HANDLE";
        case NOT_SUPPORTED:
            return "NVAPI_NOT_SUPPORTED";
        case INVALID_USER_PRIVILEGE:
            return "NVAPI_INVALID_USER_PRIVILEGE";
        default:
            return nullptr;
    }
}

bool envFlag(const char* name) {
    const char* v = std::getenv(name);
    return v && std::strcmp(v, "1") == 0;
}

// The error text holds the reason alone: a 64-byte buffer would cut it off behind a long path.
int32_t failInitialize(const std::string& where, const std::string& reason) {
    std::snprintf(g_failure, sizeof g_failure, "%s", reason.c_str());
    std::fprintf(stderr, "vantrel-sim: %s%s\n", where.c_str(), reason.c_str());
    return ERROR;
}

}  // namespace

Driver* Driver::current() {
    return g_driver.get();
}

int32_t Driver::initialize() {
    if (g_references == 0) {
        try {
            CardDesc card;
            const char* path = std::getenv("VANTREL_SIM_CARD");
            if (path && *path) {
                std::string error;
                if (!loadCardFile(path, card, error)) return failInitialize(std::string(path) + ": ", error);
            } else {
                card = typicalCard();
            }
            bool frozen = card.frozen || envFlag("VANTREL_SIM_FROZEN");
            g_driver = std::make_unique<Driver>(std::move(card), frozen);
        } catch (const std::exception& e) {
            return failInitialize("", e.what());
        }
        g_failure[0] = '\0';
    }
    ++g_references;
    return g_driver->injectedStatus(ID_Initialize, -1);
}

int32_t Driver::unload() {
    if (g_references == 0) return API_NOT_INITIALIZED;
    int32_t status = g_driver->injectedStatus(ID_Unload, -1);
    if (status != OK) return status;
    if (--g_references == 0) g_driver.reset();
    return OK;
}

std::string Driver::errorText(int32_t status) {
    if (g_driver) {
        auto it = g_driver->card_.errorTexts.find(status);
        if (it != g_driver->card_.errorTexts.end()) return it->second;
    } else if (status == ERROR && g_failure[0]) {
        return g_failure;
    }
    if (const char* text = defaultErrorText(status)) return text;
    return "NVAPI status " + std::to_string(status);
}

void Driver::advance(double seconds) {
    if (g_driver && seconds > 0) g_driver->advanced_ += seconds;
}

Driver::Driver(CardDesc card, bool frozen)
    : card_(std::move(card)), frozen_(frozen), start_(std::chrono::steady_clock::now()) {
    size_t count = std::min<size_t>(card_.gpus.size(), MAX_PHYSICAL_GPUS);
    for (size_t i = 0; i < count; ++i) gpus_.emplace_back(card_.gpus[i]);
}

NvPhysicalGpuHandle Driver::handle(int index) {
    return reinterpret_cast<NvPhysicalGpuHandle>(kHandleBase + kHandleStride * uintptr_t(index + 1));
}

int Driver::indexOf(NvPhysicalGpuHandle h) const {
    uintptr_t v = reinterpret_cast<uintptr_t>(h);
    if (v <= kHandleBase || (v - kHandleBase) % kHandleStride != 0) return -1;
    uintptr_t index = (v - kHandleBase) / kHandleStride - 1;
    return index < gpus_.size() ? int(index) : -1;
}

int32_t Driver::injectedStatus(uint32_t id, int gpuIndex) {
    const Fault* fault = nullptr;
    if (gpuIndex >= 0) {
        const FaultMap& own = gpus_[size_t(gpuIndex)].desc().faults;
        if (auto it = own.find(id); it != own.end()) fault = &it->second;
    }
    if (!fault) {
        if (auto it = card_.faults.find(id); it != card_.faults.end()) fault = &it->second;
    }
    if (!fault) return OK;
    uint32_t n = ++calls_[{gpuIndex, id}];
    if (n <= fault->after) return OK;
    if (fault->times != 0 && n - fault->after > fault->times) return OK;
    return fault->status;
}

bool Driver::acceptsVersion(uint32_t id, int gpuIndex, uint32_t versionWord) const {
    const nvapi::InterfaceSpec* spec = nvapi::findInterfaceSpec(id);
    if (!spec || !nvapi::contractListsVersion(*spec, versionWord)) return false;
    const std::vector<uint32_t>* accepted = nullptr;
    if (gpuIndex >= 0) {
        const VersionMap& own = gpus_[size_t(gpuIndex)].desc().versions;
        if (auto it = own.find(id); it != own.end()) accepted = &it->second;
    }
    if (!accepted) {
        if (auto it = card_.versions.find(id); it != card_.versions.end()) accepted = &it->second;
    }
    return !accepted ||
           std::find(accepted->begin(), accepted->end(), versionNumber(versionWord)) != accepted->end();
}

double Driver::now() const {
    double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    return (frozen_ ? 0 : elapsed) + advanced_;
}

int32_t enterGpuCall(uint32_t id, NvPhysicalGpuHandle handle, SimGpu*& gpu, int& index) {
    index = -1;
    Driver* d = Driver::current();
    if (!d) return API_NOT_INITIALIZED;
    index = d->indexOf(handle);
    if (index < 0) return EXPECTED_PHYSICAL_GPU_HANDLE;
    if (int32_t status = d->injectedStatus(id, index)) return status;
    gpu = &d->gpu(index);
    gpu->advanceTo(d->now());
    return OK;
}

int32_t enterSystemCall(uint32_t id) {
    Driver* d = Driver::current();
    if (!d) return API_NOT_INITIALIZED;
    return d->injectedStatus(id, -1);
}

int32_t checkVersion(uint32_t id, int gpuIndex, uint32_t versionWord) {
    Driver* d = Driver::current();
    return d && d->acceptsVersion(id, gpuIndex, versionWord) ? OK : INCOMPATIBLE_STRUCT_VERSION;
}

}  // namespace sim

extern "C" __attribute__((visibility("default"))) void vantrel_sim_advance(double seconds) {
    sim::Driver::advance(seconds);
}
