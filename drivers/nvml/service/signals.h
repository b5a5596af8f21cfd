// How the service ends on a signal. The ordinary stop signals (SIGTERM, SIGINT, SIGHUP, SIGQUIT,
// SIGUSR1, SIGUSR2, SIGALRM) are read from a descriptor by the loop, which hands back every held
// fan before exiting; SIGPIPE is ignored. A fault (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT) gets
// one last hand-back of the held fans straight through NVML's resolved entry, then the service
// dies of that signal.
#pragma once

#include <cstdint>

namespace vantreld {

// Blocks the stop signals and returns a signalfd that reads them, or -1.
int stopSignalFd();

// The fault path. install() takes the devices' NVML handles and fan counts from the initialised
// bridge; setHeld() names the bridge device positions whose fans a client holds manual now.
class CrashHandBack {
  public:
    static void install();
    static void setHeld(uint64_t positions);
};

}  // namespace vantreld
