// The fan goes back to the driver also when the process ends outside the close
// path: a crash signal, or exit() called from inside a library (Qt does so when
// the X connection is lost).
#pragma once

namespace app {

class ExitHandBack {
  public:
    // Resolves the hand-back's driver entries and installs the crash handlers and
    // the exit hook (the hook once per process; it does nothing once the driver
    // is unloaded, which a normal end of the program does first).
    ExitHandBack();
    // Puts the previous crash handlers back.
    ~ExitHandBack();
    ExitHandBack(const ExitHandBack&) = delete;
    ExitHandBack& operator=(const ExitHandBack&) = delete;
};

}  // namespace app
