// Reaches into the main window where a test or benchmark sets up what no message
// can: stand-in panels, a control's state, the gauges' positions.
#pragma once

#include <memory>

#include "app/vantrel_dlg.h"

struct CVantrelDlgProbe {
    static std::unique_ptr<CDialogBase>& gpuInfoPanel(CVantrelDlg& w) { return w.m_pGpuInfoDlg; }
    static std::unique_ptr<CDialogBase>& monitorPanel(CVantrelDlg& w) { return w.m_pMonitorDlg; }
    static CCheckButtonEx& clockLock(CVantrelDlg& w) { return w.m_chkClockLock; }
    static CProgressbar& gauge(CVantrelDlg& w, int side) { return side ? w.m_barRight : w.m_barLeft; }
};
