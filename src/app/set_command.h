// vantrel --set, --apply-profile and --service-status: the command line that writes, and what
// the service keeps. Every value is checked against the card's ranges on every GPU named before
// the first write; a refusal is one line on err and a non-zero exit.
#pragma once

#include <cstdio>

#include "app/command_line.h"

namespace app {

// Exit codes beyond the status report's.
enum SetExit : int {
    kExitRefused = 7,    // a value outside the card's range, or a write the driver or service refused
    kExitNoService = 8,  // --persist or --service-status without the service vantreld
};

// --set and --apply-profile.
int runSetCommand(const CommandLine& commandLine, std::FILE* out, std::FILE* err);
int runServiceStatus(const StatusOptions& options, std::FILE* out, std::FILE* err);

}  // namespace app
