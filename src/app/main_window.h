#pragma once

namespace app {

// Runs the main window modally until it closes. SIGINT, SIGTERM and SIGHUP close
// it through its normal close path meanwhile.
void runMainWindow();

}  // namespace app
