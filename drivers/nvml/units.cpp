#include "units.h"

#include <limits>

namespace nvml_bridge {
namespace {

uint32_t saturate(uint64_t v) {
    return v > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                    : static_cast<uint32_t>(v);
}

}  // namespace

uint32_t powerToThousandths(uint64_t milliwatts, uint64_t defaultMilliwatts) {
    if (defaultMilliwatts == 0) return 0;
    return saturate((milliwatts * 100000 + defaultMilliwatts / 2) / defaultMilliwatts);
}

uint32_t minLimitToThousandths(uint64_t milliwatts, uint64_t defaultMilliwatts) {
    if (defaultMilliwatts == 0) return 0;
    return saturate((milliwatts * 100000 + defaultMilliwatts - 1) / defaultMilliwatts);
}

uint32_t maxLimitToThousandths(uint64_t milliwatts, uint64_t defaultMilliwatts) {
    if (defaultMilliwatts == 0) return 0;
    return saturate(milliwatts * 100000 / defaultMilliwatts);
}

uint64_t thousandthsToMilliwatts(uint32_t thousandths, uint64_t defaultMilliwatts) {
    return uint64_t{thousandths} * defaultMilliwatts / 100000;
}

uint32_t bytesToKb(unsigned long long bytes) {
    return saturate(bytes / 1024);
}

uint32_t driverVersionNumber(std::string_view text) {
    std::size_t i = 0;
    uint32_t major = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && major < 100000)
        major = major * 10 + static_cast<uint32_t>(text[i++] - '0');
    if (i == 0) return 0;
    if (i >= text.size() || text[i] != '.') return major * 100;
    ++i;
    uint32_t minor = 0;
    int digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 2) {
        minor = minor * 10 + static_cast<uint32_t>(text[i++] - '0');
        ++digits;
    }
    return major * 100 + minor;
}

}  // namespace nvml_bridge
