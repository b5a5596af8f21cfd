#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace settings {

// How values are stored as texts in the settings document.
bool decodeTextFlag(std::string_view text);    // true unless exactly "0"
bool decodeNumberFlag(std::string_view text);  // _wtol(text) != 0
std::string encodeInteger(int32_t value);      // "%d"
std::string encodeFlag(bool value);            // "1" / "0"

}  // namespace settings
