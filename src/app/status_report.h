// vantrel --status: the readings and information strings of the GPUs as text,
// JSON or CSV, once or every few seconds, without a window system.
#pragma once

#include <cstdio>

#include "app/command_line.h"

namespace app {

// Binds the chosen driver and prints the report on out; with --loop, again every
// period until SIGINT or SIGTERM. 0 after a report; 1 with the reason on err when
// there is no driver library, no GPU, or no such GPU.
int printStatus(const StatusOptions& options, std::FILE* out, std::FILE* err);

// printStatus on stdout, with whatever else the process prints sent to stderr.
int runStatus(const StatusOptions& options);

}  // namespace app
