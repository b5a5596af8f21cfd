// vantrel --self-test: which write interfaces each GPU accepts, found without
// changing anything: the current value is read, the same value written back and
// read again. A fan is only handed back to the driver when the driver already
// has it; a fan someone set to a fixed level is left alone.
#pragma once

#include <cstdio>

namespace app {

// One line per GPU and interface on out: "write GPU INTERFACE VERDICT DETAIL",
// VERDICT one of pass, fail (the value read back differs), refused (the driver
// said no), skipped. The exit codes of the status report.
int runWriteProbe(std::FILE* out, std::FILE* err, bool verbose);

}  // namespace app
