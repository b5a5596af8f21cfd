#include "gpu/driver_binding.h"

#include <dlfcn.h>

#include <utility>

#include "gpu/emergency_hand_back.h"
#include "gpu/kept_coolers.h"

namespace gpu {
namespace {

struct Library {
    std::string path;
    void* handle = nullptr;
    NvQueryInterfaceFn query = nullptr;
    nvapi::InitializeFn initialize = nullptr;
    nvapi::UnloadFn unload = nullptr;
    int initializeCalls = 0;  // since the load; each is matched by a driver unload
    bool failed = false;      // loading failed: every call answers -2 until the path changes
    uint32_t loads = 0;
};

Library& library() {
    static Library lib;
    return lib;
}

}  // namespace

void DriverBinding::setLibraryPath(std::string path) {
    users_ = 0;
    if (isLoaded()) unloadLibrary();
    library().path = std::move(path);
    library().failed = false;
}

const std::string& DriverBinding::libraryPath() {
    return library().path;
}

int32_t DriverBinding::load() {
    Library& lib = library();
    if (lib.failed || lib.path.empty()) {
        lib.failed = true;
        return nvapi::LIBRARY_NOT_FOUND;
    }
    lib.handle = dlopen(lib.path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (lib.handle)
        lib.query = reinterpret_cast<NvQueryInterfaceFn>(dlsym(lib.handle, NVAPI_QUERY_INTERFACE_SYMBOL));
    if (!lib.query) {
        if (lib.handle) dlclose(lib.handle);
        lib.handle = nullptr;
        lib.failed = true;
        return nvapi::LIBRARY_NOT_FOUND;
    }
    lib.initialize = reinterpret_cast<nvapi::InitializeFn>(lib.query(nvapi::ID_Initialize));
    lib.unload = reinterpret_cast<nvapi::UnloadFn>(lib.query(nvapi::ID_Unload));
    generation_ = ++lib.loads;
    if (generation_ == 0) generation_ = ++lib.loads;  // wrapped: 0 means "not loaded"
    lib.initializeCalls = 0;
    return callInitialize();
}

int32_t DriverBinding::callInitialize() {
    Library& lib = library();
    if (!lib.initialize) return nvapi::NO_IMPLEMENTATION;
    CallScope scope;
    ++lib.initializeCalls;
    return lib.initialize();
}

int32_t DriverBinding::initialize() {
    ++users_;
    return isLoaded() ? callInitialize() : load();
}

void* DriverBinding::librarySymbol(const char* name) {
    return isLoaded() && library().handle ? dlsym(library().handle, name) : nullptr;
}

int32_t DriverBinding::unload() {
    Library& lib = library();
    if (callDepth_ > 0 && isLoaded()) return nvapi::ERROR;
    if (users_ > 0) --users_;
    if (!isLoaded()) return lib.failed ? nvapi::LIBRARY_NOT_FOUND : nvapi::OK;
    // Another user still needs the driver: the driver hears nothing of this one.
    if (users_ > 0) return nvapi::OK;
    return unloadLibrary();
}

int32_t DriverBinding::unloadLibrary() {
    Library& lib = library();
    if (callDepth_ > 0) return nvapi::ERROR;
    disarmEmergencyHandBack();    // its entries point into the library
    detail::forgetKeptCoolers();  // the next load may hand out other handles
    // The library goes away, so the driver is released as often as it was
    // initialised: a driver that counts its users (and a library that dlclose
    // cannot really unload) must not keep state for the next load.
    int32_t status = nvapi::OK;
    if (lib.unload) {
        CallScope scope;
        do status = lib.unload();
        while (--lib.initializeCalls > 0);
    }
    lib.initializeCalls = 0;
    dlclose(lib.handle);
    lib.handle = nullptr;
    lib.query = nullptr;
    lib.initialize = nullptr;
    lib.unload = nullptr;
    generation_ = 0;
    return status;
}

void* DriverBinding::resolve(uint32_t id, Slot& slot, int32_t& status) {
    if (!isLoaded()) {
        load();  // the initialise status is the caller's business only through initialize()
        if (!isLoaded()) {
            status = nvapi::LIBRARY_NOT_FOUND;
            return nullptr;
        }
    }
    slot.fn = library().query(id);
    slot.generation = generation_;
    status = slot.fn ? nvapi::OK : nvapi::NO_IMPLEMENTATION;
    return slot.fn;
}

}  // namespace gpu
