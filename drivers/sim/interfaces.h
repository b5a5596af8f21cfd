// The table of interfaces the library answers: contract ID, name, function, accepted versions.
#pragma once

#include <cstdint>
#include <string_view>

namespace sim {

struct StructVersion {
    uint32_t number;
    uint32_t size;
};

struct InterfaceInfo {
    uint32_t id;
    std::string_view name;  // the contract's name without "ID_"
    void* function;
    StructVersion versions[3];  // the structure versions the contract lists; size 0 ends the list
};

const InterfaceInfo* findInterface(uint32_t id);
const InterfaceInfo* findInterface(std::string_view name);

// True when the version word is one the contract lists for this interface (number and size agree).
bool contractListsVersion(const InterfaceInfo& info, uint32_t versionWord);

}  // namespace sim
