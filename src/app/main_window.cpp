#include "app/main_window.h"

#include "app/quit_signals.h"
#include "app/vantrel_dlg.h"

namespace app {

void runMainWindow() {
    CVantrelDlg dlg;
    QuitSignals quitSignals([&dlg](int) { dlg.SendMessage(WM_CLOSE); });
    dlg.DoModal();
}

}  // namespace app
