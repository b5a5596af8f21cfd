#include "info/gpu_info_dlg.h"

#include <QCoreApplication>
#include <QStringList>

#include "gpu/information.h"

namespace {

constexpr QRgb kInfoText = 0xFFB4B4B4;
const RECT kBackRect{168, 205, 270, 226};
const RECT kGpuListRect{113, 18, 330, 40};

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

CGpuInfoDlg::CGpuInfoDlg(app::MainWindowServices& main)
    : CDialogBase(QStringLiteral("ImageRes/gpuinfo_main.png"), main.PanelOwner()), m_main(main) {
    setWindowTitle(QCoreApplication::translate("CGpuInfoDlg", "GPU Information"));
}

CGpuInfoDlg::~CGpuInfoDlg() = default;

RECT CGpuInfoDlg::LabelRect(int i) {
    // Two columns of five rows; the last row is a pixel taller.
    static constexpr int kTops[6] = {76, 95, 114, 133, 152, 172};
    const int row = i % 5;
    return i < 5 ? RECT{90, kTops[row], 216, kTops[row + 1]} : RECT{234, kTops[row], 340, kTops[row + 1]};
}

bool CGpuInfoDlg::OnInitDialog() {
    gpu::GpuContext& global = gpu::globalContext();
    m_choices = info::listGpuChoices(global);
    std::vector<std::string> list;
    gpu::queryGpuInformation(global, list);

    m_btnBack.Create(this, IDC_GPUINFO_BACK, kBackRect, {}, QStringLiteral("ImageRes/gpuinfo_back.png"));
    m_btnBack.SetAccessibleName(QCoreApplication::translate("CGpuInfoDlg", "Back"));
    for (size_t i = 0; i < m_txtInfo.size(); ++i) {
        m_txtInfo[i].SetColour(kInfoText);
        m_txtInfo[i].Create(this, IDC_GPUINFO_TEXT, LabelRect(int(i)));
    }
    ShowInformation(list);
    SetTimer(kGpuInfoTimer, kGpuInfoPeriodMs);

    QStringList names;
    for (const std::string& name : m_choices.names) names.push_back(fromUtf8(name));
    // The head names the GPU the program works on, which an earlier panel may have changed.
    m_menuGpu.Create(names, this, kGpuListRect, m_choices.entryOf(global.selectedIndex));
    m_menuGpu.SetAccessibleName(QCoreApplication::translate("CGpuInfoDlg", "GPU"));
    Dock();
    return true;
}

void CGpuInfoDlg::Dock() {
    if (const platform::Window* main = GetParent()) {
        const RECT r = gpuInfoDockRect(main->GetWindowRect());
        SetWindowPos(r.left, r.top, RectWidth(r), RectHeight(r), SWP_SHOWWINDOW);
    } else {
        const RECT r = GetWindowRect();
        SetWindowPos(r.left, r.top, kGpuInfoWidth, kGpuInfoHeight, SWP_NOZORDER);
    }
}

void CGpuInfoDlg::ShowInformation(const std::vector<std::string>& list) {
    for (size_t i = 0; i < m_txtInfo.size(); ++i) {
        const size_t entry = size_t(kLabelEntries[i]);
        m_txtInfo[i].SetText(entry < list.size() ? fromUtf8(list[entry]) : QString());
    }
}

LRESULT CGpuInfoDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kGpuInfoTimer) RefreshLiveClocks();
    return CDialogBase::WindowProc(message, wParam, lParam);
}

void CGpuInfoDlg::RefreshLiveClocks() {
    std::vector<std::string> live;
    gpu::queryLiveClockInformation(live);
    if (live.size() < 3) return;
    m_txtInfo[kGpuClockLabel].SetText(fromUtf8(live[0]));
    m_txtInfo[kMemoryClockLabel].SetText(fromUtf8(live[1]));
    m_txtInfo[kBandwidthLabel].SetText(fromUtf8(live[2]));
    // One composition covers all three labels.
    const RECT r = LabelRect(kBandwidthLabel);
    RedrawWindow(&r, RDW_INTERNALPAINT);
    UpdateWindow();
}

bool CGpuInfoDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
        case IDC_GPUINFO_BACK:
            Close();
            break;
        case IDC_GPUINFO_GPU:
            if (gpu::globalContext().count > 1) ChooseGpu();
            break;
        default:
            break;
    }
    return CDialogBase::OnCommand(wParam, lParam);
}

void CGpuInfoDlg::ChooseGpu() {
    // A click on the list's head reports the list too: only a new GPU counts.
    const int32_t chosen = m_choices.gpuOf(m_menuGpu.CurSel());
    gpu::GpuContext& global = gpu::globalContext();
    if (chosen < 0 || chosen == global.selectedIndex) return;
    m_main.GpuChanging();
    global.selectedIndex = chosen;
    std::vector<std::string> list;
    gpu::queryGpuInformation(global, list);
    ShowInformation(list);
    for (size_t i = 0; i < m_txtInfo.size(); ++i) {
        const RECT r = LabelRect(int(i));
        RedrawWindow(&r, RDW_INVALIDATE);
    }
    UpdateWindow();
    m_main.GpuChanged();
}

void CGpuInfoDlg::Close() {
    if (platform::Window* main = GetParent()) main->PostMessage(WM_COMMAND, ID_PANEL_GPUINFO_CLOSED, 0);
}
