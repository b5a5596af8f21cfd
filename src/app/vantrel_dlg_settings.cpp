// The main window's settings button: the settings window, modal over it, acting
// on the main window through its services.
#include "app/vantrel_dlg.h"
#include "platform/hot_key.h"
#include "setup/set_dlg.h"

void CVantrelDlg::OpenSettings() {
    if (m_pSetDlg) return;
    setup::CSetDlg dlg(*this);
    m_pSetDlg = &dlg;
    dlg.DoModal();
    m_pSetDlg = nullptr;
}

// The program is ending (tray menu, a signal): nothing may be committed after
// the close routine has handed the fan back.
void CVantrelDlg::CancelSettings() {
    if (m_pSetDlg) m_pSetDlg->EndDialog(IDCANCEL);
}
