// Which driver library the program binds, from the command line and environment:
// --driver PATH, else VANTREL_DRIVER, else --simulate [CARD.xml] (the simulated
// card), else the NVML bridge beside the executable. --snapshot DIR asks for the
// pictures of the windows instead of a run.
#pragma once

#include <string>
#include <vector>

namespace app {

struct DriverChoice {
    std::string libraryPath;    // absolute
    std::string simulatedCard;  // absolute path of CARD.xml, "" when none was given
    bool statusOnly = false;    // --status: print the readings and exit
    bool snapshot = false;      // --snapshot [DIR]: draw the windows into DIR and exit
    std::string snapshotDir;    // absolute; "" when --snapshot came without a folder
};

// args without the program name; environmentDriver may be null. Relative paths
// are taken from startDir, the directory the user started the program from.
DriverChoice chooseDriver(const std::vector<std::string>& args, const char* environmentDriver,
                          const std::string& executableDir, const std::string& startDir);

// Sets VANTREL_SIM_CARD when a card was given and points the binding at the library.
void applyDriverChoice(const DriverChoice& choice);

// The working directory ("" when it cannot be read).
std::string currentDirectory();

}  // namespace app
