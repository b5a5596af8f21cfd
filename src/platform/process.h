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

// The per-user folder: $XDG_CONFIG_HOME/vantrel, or ~/.config/vantrel when that is
// unset or not absolute; "" without either.
std::string perUserFolder(const char* xdgConfigHome, const char* home);

// The file the install step puts into the runtime folder; a build tree or an
// unpacked archive has none.
inline constexpr const char* kInstalledMarker = "installed";
// True when `programDir` holds that file.
bool isInstalledFolder(const std::string& programDir);

// Chooses the working directory, the folder every relative name is written to:
// the executable's folder when the program may write there and it is not an
// installed folder (a build tree, an unpacked archive), else the per-user folder
// (HOME from the account when the environment has none), created and given a
// copy of the shipped settings document if it has none. False when neither can be
// entered, and always when an installed program has no per-user folder.
bool enterWorkingDir();
// The same for a program whose files are in `programDir`.
bool enterWorkingDir(const std::string& programDir);

// Where the program's read-only files (pictures, font) are found: "" while the
// working directory is the executable's folder, else that folder.
const std::string& programFilesDir();

}  // namespace platform
