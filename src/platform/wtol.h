#pragma once

#include <cstdint>
#include <string_view>

// String to long with the run-time library's _wtol rules: leading white space
// skipped, optional sign, decimal digits up to the first other character, 0 when
// there are none. As on the platform the settings come from, long is 32 bits:
// out-of-range values saturate at INT32_MIN / INT32_MAX.
int32_t _wtol(std::string_view text);
