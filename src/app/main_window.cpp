#include "app/main_window.h"

#include "app/exit_hand_back.h"
#include "app/quit_signals.h"
#include "app/single_instance.h"
#include "app/vantrel_dlg.h"

namespace app {

void runMainWindow() {
    ExitHandBack exitHandBack;
    CVantrelDlg dlg;
    QuitSignals quitSignals([&dlg](int) { dlg.SendMessage(WM_CLOSE); });
    if (SingleInstance* instance = currentInstance())
        instance->setOnRaise([&dlg] { dlg.RaiseForAnotherStart(); });
    dlg.DoModal();
}

}  // namespace app
