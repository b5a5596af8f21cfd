// The update description the maker's server offers: an XML document whose root
// `VantrelUpdate` holds the newest version number in `Version`.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace app {

inline constexpr const char* kUpdateDescriptionName = "VantrelUpdate.xml";
inline constexpr const char* kUpdateDescriptionResource = "/updata/Vantrel/VantrelUpdate.xml";

// The integer of "/VantrelUpdate/Version"; none when the bytes are not well-formed
// XML or have no such element.
std::optional<int32_t> describedVersion(std::string_view bytes);

// Only a readable description with a higher version offers an update; an equal
// one is not newer.
bool offersNewerVersion(std::string_view description, int32_t installedVersion);

}  // namespace app
