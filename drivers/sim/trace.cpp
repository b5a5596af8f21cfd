#include "trace.h"

#include <cstdio>
#include <cstdlib>

namespace sim {

TraceLine::TraceLine(std::string_view interfaceName, int gpuIndex) : text_(interfaceName) {
    add("gpu", gpuIndex);
}

void TraceLine::add(std::string_view key, int64_t value) {
    text_ += ' ';
    text_ += key;
    text_ += '=';
    text_ += std::to_string(value);
}

int32_t TraceLine::finish(int32_t status) {
    add("status", status);
    text_ += '\n';
    const char* path = std::getenv("VANTREL_SIM_TRACE");
    if (path && *path) {
        if (std::FILE* f = std::fopen(path, "a")) {
            std::fputs(text_.c_str(), f);
            std::fclose(f);
        }
    }
    return status;
}

}  // namespace sim
