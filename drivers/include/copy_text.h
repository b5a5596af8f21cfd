// Text into one of the contract's fixed character arrays, as both drivers fill them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace nvapi {

// Cut to size - 1 bytes, terminated, the rest of the array zeroed; a null text is empty.
inline void copyText(char* out, std::size_t size, std::string_view text) {
    if (size == 0) return;
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(out, text.data(), n);
    std::memset(out + n, 0, size - n);
}
inline void copyText(char* out, std::size_t size, const char* text) {
    copyText(out, size, std::string_view(text ? text : ""));
}

}  // namespace nvapi
