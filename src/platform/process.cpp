#include "platform/process.h"

#include <unistd.h>

#include <climits>

namespace platform {

std::string executablePath() {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return {};
    return std::string(buffer, size_t(n));
}

std::string executableDir() {
    std::string path = executablePath();
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool enterExecutableDir() {
    std::string dir = executableDir();
    return !dir.empty() && chdir(dir.c_str()) == 0;
}

}  // namespace platform
