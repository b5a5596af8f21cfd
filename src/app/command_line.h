// The program's command line: what to run (the window, the status report, the
// window pictures) and which driver library to bind. --driver PATH, else
// VANTREL_DRIVER, else --simulate [CARD.xml] (the simulated card), else the NVML
// bridge beside the executable.
#pragma once

#include <string>
#include <vector>

#include "app/set_request.h"

namespace app {

enum class StatusFormat { Text, Json, Csv };

struct StatusOptions {
    StatusFormat format = StatusFormat::Text;
    int gpu = -1;                    // -1: the GPU in use; kAllGpus: every GPU
    double loopSeconds = 0;          // 0: one report
    std::vector<std::string> query;  // the fields of a JSON or CSV report; empty: every field
    bool header = true;              // CSV: the header line
    bool units = true;               // CSV: units on the text facts ("8192MB")
    bool verbose = false;            // the GPU layer's diagnostics on stderr
};
inline constexpr int kAllGpus = -2;

struct CommandLine {
    enum class Run {
        Window,
        Status,
        SelfTest,
        Snapshot,
        Set,
        ApplyProfile,
        ServiceStatus,
        Help,
        Version,
        Error
    };
    Run run = Run::Window;
    std::string libraryPath;    // absolute
    std::string simulatedCard;  // absolute path of CARD.xml, "" when none was given
    std::string snapshotDir;    // absolute, for Run::Snapshot
    StatusOptions status;       // --gpu and --format also of --set, --apply-profile, --service-status
    SetRequest set;             // Run::Set
    int profile = 0;            // Run::ApplyProfile: 1, 2 or 3
    bool persist = false;       // --persist: kept by the service
    std::string text;           // the help or version text, or the error (without the program name)
};

// args without the program name; environmentDriver may be null. Relative paths
// are taken from startDir, the directory the user started the program from.
CommandLine parseCommandLine(const std::vector<std::string>& args, const char* environmentDriver,
                             const std::string& executableDir, const std::string& startDir);

// Sets VANTREL_SIM_CARD when a card was given and points the binding at the library.
void applyDriverChoice(const CommandLine& commandLine);

// Why the library cannot be loaded (the dynamic loader's words), "" when it can.
std::string driverLoadError(const std::string& libraryPath);

// The working directory ("" when it cannot be read).
std::string currentDirectory();

}  // namespace app
