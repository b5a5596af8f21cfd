// The interfaces the library answers: every row of the contract's table.
#pragma once

#include <string_view>

#include "nvapi_contract.h"

namespace sim {

// The contract's row named name (without "ID_"), as card files name interfaces.
const nvapi::InterfaceSpec* findInterface(std::string_view name);

}  // namespace sim
