#pragma once

namespace platform {

// Installs the QMessageBox-based handler behind platform::MessageBox.
// Needs a QApplication.
void installQtMessageBox();

}  // namespace platform
