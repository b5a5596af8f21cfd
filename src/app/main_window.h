#pragma once

namespace app {

// Runs the main window modally until it closes. The quit signals close it
// through its normal close path meanwhile; a crash or an exit() from inside a
// library still hands the fan back.
void runMainWindow();

}  // namespace app
