// The GPU information panel: the card's facts in ten labels under a drawn list
// of the GPUs, three of them (GPU clock, memory clock, bandwidth) refreshed every
// second. Choosing a GPU in the list makes it the one the whole program works on.
// It docks under the window that opens it and moves only with it.
#pragma once

#include <array>

#include "gpu/gpu_context.h"
#include "info/gpu_choices.h"
#include "services/main_window_services.h"
#include "skin/button_ex.h"
#include "skin/dialog_base.h"
#include "skin/menu_list.h"
#include "skin/static_text.h"

enum : UINT {
    IDC_GPUINFO_TEXT = 2000,
    IDC_GPUINFO_BACK = 3009,
    IDC_GPUINFO_GPU = CMenuList::kListId,
};
constexpr UINT kGpuInfoTimer = 500;
constexpr UINT kGpuInfoPeriodMs = 1000;
constexpr int kGpuInfoWidth = 475;  // the main window's width, when there is no parent
constexpr int kGpuInfoHeight = 238;
// Where the panel docks: below the main window's bottom edge, as wide as it.
inline RECT gpuInfoDockRect(const RECT& main) {
    return {main.left + 15, main.bottom - 5, main.left + 15 + RectWidth(main),
            main.bottom - 5 + kGpuInfoHeight};
}

class CGpuInfoDlg : public CDialogBase {
  public:
    // Entries of the information list the ten labels show, in label order.
    static constexpr std::array<int, 10> kLabelEntries = {2, 3, 4, 5, 6, 9, 10, 11, 12, 13};
    // Labels refreshed every second: GPU clock, memory clock, bandwidth.
    static constexpr int kGpuClockLabel = 2;
    static constexpr int kMemoryClockLabel = 7;
    static constexpr int kBandwidthLabel = 6;

    // It docks under main's PanelOwner() and reports its close to it.
    explicit CGpuInfoDlg(app::MainWindowServices& main);
    ~CGpuInfoDlg() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The rectangle of label i (0-based) in client pixels.
    static RECT LabelRect(int i);

    // Its child controls, for driving it as a user would (tests).
    std::array<CStaticText, 10>& InfoTexts() { return m_txtInfo; }
    CMenuList& GpuMenu() { return m_menuGpu; }

  protected:
    bool OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Escape or a window-system close would only hide the panel, and the main
    // window's button leaves an existing panel alone: close it as Back does.
    void OnCancel() override { Close(); }
    // The panel is never dragged by its background.
    LRESULT OnNcHitTest(int, int) override { return HTCLIENT; }

  private:
    CButtonEx m_btnBack;
    std::array<CStaticText, 10> m_txtInfo;
    CMenuList m_menuGpu;
    // Keeps the driver initialised while the panel lives; the queries use the global context.
    gpu::GpuContext m_gpuContext;
    // Which GPU each entry of m_menuGpu stands for.
    info::GpuChoices m_choices;

    void Close();
    void Dock();
    void ChooseGpu();
    void ShowInformation(const std::vector<std::string>& list);
    void RefreshLiveClocks();

    app::MainWindowServices& m_main;
};
