// vantrel --status: the readings and facts of the GPUs as text, JSON or CSV,
// once or every few seconds, without a window system.
#pragma once

#include <cstdio>

#include "app/command_line.h"

namespace app {

// Exit codes of the status report (and of the self-test), each named in --help.
enum StatusExit : int {
    kExitOk = 0,
    kExitUsage = 2,
    kExitNoLibrary = 3,  // the driver library or NVIDIA's management library cannot be loaded
    kExitNoDriver = 4,   // the driver is not loaded or does not answer
    kExitNoGpu = 5,      // the driver answers but reports no GPU
    kExitNoSuchGpu = 6,  // --gpu N beyond the GPUs the driver reports
};

// Binds the chosen driver and prints the report on out; with --loop, again every
// period until SIGINT or SIGTERM. The GPU layer's diagnostics go to err with
// --verbose and nowhere otherwise; errors always go to err.
int printStatus(const StatusOptions& options, std::FILE* out, std::FILE* err);

// printStatus on stdout and stderr.
int runStatus(const StatusOptions& options);

}  // namespace app
