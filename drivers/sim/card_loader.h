// Reads a card description file (XML, format in README.md) over the typical card's values.
#pragma once

#include <string>

#include "card.h"

namespace sim {

// False with a reason when the file is missing, not well formed, or its root is not <card>.
// Attributes that cannot be read keep the typical value and are reported on stderr.
bool loadCardFile(const std::string& path, CardDesc& card, std::string& error);

}  // namespace sim
