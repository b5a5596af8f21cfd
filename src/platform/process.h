#pragma once

#include <string>

namespace platform {

// Full path of the running executable ("" when it cannot be read).
std::string executablePath();
// Folder of the running executable, without a trailing slash.
std::string executableDir();
// Makes the executable's folder the working directory; false when that fails.
bool enterExecutableDir();

}  // namespace platform
