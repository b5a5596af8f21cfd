#pragma once

#include <string>
#include <vector>

namespace platform {

// Full path of the running executable ("" when it cannot be read).
std::string executablePath();
// Folder of the running executable, without a trailing slash.
std::string executableDir();
// Makes the executable's folder the working directory; false when that fails.
bool enterExecutableDir();

// Starts `path` with this argument vector (the first element is the program's own
// name) in `workingDir` ("" keeps ours). Never through a shell, and not waited
// for. "" when the program runs, else why it could not be started.
std::string startProcess(const std::string& path, const std::vector<std::string>& arguments,
                         const std::string& workingDir = {});

}  // namespace platform
