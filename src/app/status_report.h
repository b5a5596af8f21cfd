// vantrel --status: every reading and information string of the GPU in use as
// plain text lines, without a window system.
#pragma once

#include <cstdio>

namespace app {

// Binds the chosen driver, prints the status block on out and returns 0; with
// no driver library prints the start-up failure text on err and returns 1.
int printStatus(std::FILE* out, std::FILE* err);

}  // namespace app
