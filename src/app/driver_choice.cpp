#include "app/driver_choice.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

#include "gpu/driver_binding.h"

namespace app {
namespace {

std::string absoluteFrom(const std::string& dir, const std::string& path) {
    std::filesystem::path p(path);
    if (p.is_absolute()) return p.lexically_normal().string();
    return (std::filesystem::path(dir) / p).lexically_normal().string();
}

bool isOption(const std::string& arg) {
    return arg.rfind("--", 0) == 0;
}

}  // namespace

DriverChoice chooseDriver(const std::vector<std::string>& args, const char* environmentDriver,
                          const std::string& executableDir, const std::string& startDir) {
    DriverChoice choice;
    std::string driver;
    bool simulate = false;
    std::string snapshotDir;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--status") {
            choice.statusOnly = true;
        } else if (arg == "--driver" && i + 1 < args.size()) {
            driver = args[++i];
        } else if (arg.rfind("--driver=", 0) == 0) {
            driver = arg.substr(9);
        } else if (arg == "--snapshot") {
            choice.snapshot = true;
            if (i + 1 < args.size() && !isOption(args[i + 1])) snapshotDir = args[++i];
        } else if (arg.rfind("--snapshot=", 0) == 0) {
            choice.snapshot = true;
            snapshotDir = arg.substr(11);
        } else if (arg == "--simulate") {
            simulate = true;
            if (i + 1 < args.size() && !isOption(args[i + 1]))
                choice.simulatedCard = absoluteFrom(startDir, args[++i]);
        }
        // Anything else belongs to someone else or to nobody: ignored.
    }
    // An empty folder name is no folder, never the start directory.
    if (!snapshotDir.empty()) choice.snapshotDir = absoluteFrom(startDir, snapshotDir);
    if (driver.empty() && environmentDriver && *environmentDriver) driver = environmentDriver;
    if (!driver.empty())
        choice.libraryPath = absoluteFrom(startDir, driver);
    else
        choice.libraryPath = executableDir + (simulate ? "/lib/libnvapi-sim.so" : "/lib/libnvapi-nvml.so");
    return choice;
}

void applyDriverChoice(const DriverChoice& choice) {
    if (!choice.simulatedCard.empty()) setenv("VANTREL_SIM_CARD", choice.simulatedCard.c_str(), 1);
    gpu::DriverBinding::setLibraryPath(choice.libraryPath);
}

std::string currentDirectory() {
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

}  // namespace app
